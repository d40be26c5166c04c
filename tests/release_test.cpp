// What every Certivex executable carries from its resource script: the version resource, the
// manifest (common controls 6, not DPI aware) and what the manifest does to the process, including
// the skin's classification of windows by class name under common controls 6.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "skin/attach.h"
#include "skin/frame.h"
#include "support/pixels.h"

namespace {

std::string ownPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::vector<char> versionBlock() {
    const std::string path = ownPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, block.data())) block.clear();
    return block;
}

std::string versionString(std::vector<char>& block, const char* name) {
    const std::string key = std::string("\\StringFileInfo\\080403A8\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
    return value;
}

std::string manifestText() {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    if (!found) return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    const auto* bytes = static_cast<const char*>(LockResource(loaded));
    return bytes ? std::string(bytes, SizeofResource(nullptr, found)) : std::string();
}

TEST(Release, VersionResourceCarriesTheProjectVersion) {
    std::vector<char> block = versionBlock();
    ASSERT_FALSE(block.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(CERTIVEX_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(minor, major));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, patch));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(minor, major));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(versionString(block, "ProductName"), "Certivex");
    EXPECT_EQ(versionString(block, "ProductVersion"), CERTIVEX_VERSION);
    EXPECT_EQ(versionString(block, "FileVersion"), std::string(CERTIVEX_VERSION) + ".0");
    EXPECT_EQ(versionString(block, "CompanyName"), "Varnholt.Kestrune");
    // Chinese text of the resource script arrives as GBK through the "A" call.
    EXPECT_EQ(versionString(block, "FileDescription"), "Certivex 证书制作");
}

TEST(Release, ManifestAsksForCommonControls6AndNoDpiScaling) {
    const std::string manifest = manifestText();
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos)
        << manifest;
    EXPECT_NE(manifest.find(">false</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">unaware</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"" CERTIVEX_VERSION ".0\""), std::string::npos);
}

bool runningOnWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

TEST(Release, CommonControls6AreLoaded) {
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    // The version-6 library comes from its side-by-side assembly (Wine's reports 5.81 as its version
    // number whichever library it is, so the folder tells).
    char path[MAX_PATH] = {};
    GetModuleFileNameA(comctl, path, MAX_PATH);
    CharLowerA(path);
    EXPECT_NE(std::string(path).find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos)
        << path;
    // Only version-6 buttons answer the ideal-size request.
    HWND button = CreateWindowExA(0, "Button", "预览", WS_POPUP | BS_PUSHBUTTON, 0, 0, 96, 24, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    SIZE ideal{};
    EXPECT_TRUE(SendMessageA(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_GT(ideal.cx, 0);
    EXPECT_EQ(windowClassName(button), "Button");
    DestroyWindow(button);
}

TEST(Release, DrawnOneToOneOnScreen) {
    if (runningOnWine()) {
        // Wine scales nothing: it reports every process as per-monitor aware whatever the manifest
        // asks, so pixel-exact drawing rests on the prefix's 96 dpi.
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
        ReleaseDC(nullptr, screen);
        return;
    }
    EXPECT_FALSE(IsProcessDPIAware());
    HMODULE user = GetModuleHandleA("user32.dll");
    using GetContext = HANDLE(WINAPI*)();
    using AwarenessOf = int(WINAPI*)(HANDLE);
    auto context = reinterpret_cast<GetContext>(GetProcAddress(user, "GetThreadDpiAwarenessContext"));
    auto awareness = reinterpret_cast<AwarenessOf>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext"));
    if (context && awareness) {
        EXPECT_EQ(awareness(context()), 0);  // DPI_AWARENESS_UNAWARE
    }
}

// The classification sees each window of the common control classes by its plain class name
// (common controls 6 register versioned classes; the name a program reads must stay the plain one).
std::map<HWND, WindowKind> classified;

void watch(HWND window, WindowKind kind) { classified[window] = kind; }

INT_PTR CALLBACK dialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// An in-memory dialog template without controls: a caption and a system menu.
std::vector<WORD> emptyDialogTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
    auto* t = reinterpret_cast<DLGTEMPLATE*>(words.data());
    t->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t->cx = 120;
    t->cy = 60;
    return words;  // no menu, default class, empty title
}

TEST(Release, ClassificationByClassNameUnderCommonControls6) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = formWindowClass;
    RegisterClassExA(&wc);
    allocateSkinTables();
    HWND form = CreateWindowExA(0, formWindowClass, "分类", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 50, 50, 400,
                                300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(form, nullptr);
    struct Child {
        const char* className;
        DWORD style;
        WindowKind kind;
        HWND window = nullptr;
    };
    std::vector<Child> children = {
        {"Button", BS_PUSHBUTTON, WindowKind::pushButton},
        {"Button", BS_DEFPUSHBUTTON, WindowKind::pushButton},
        {"Button", BS_AUTOCHECKBOX, WindowKind::checkBox},
        {"Button", BS_AUTORADIOBUTTON, WindowKind::radioButton},
        {"Button", BS_OWNERDRAW, WindowKind::dropDownButton},
        {"Edit", ES_AUTOHSCROLL, WindowKind::editBox},
        {"ComboBox", CBS_DROPDOWNLIST, WindowKind::comboBox},
        {"msctls_progress32", 0, WindowKind::progressBar},
    };
    int y = 0;
    for (Child& c : children) {
        c.window = CreateWindowExA(0, c.className, "x", WS_CHILD | WS_VISIBLE | c.style, 10, y += 30, 120, 24, form,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(c.window, nullptr) << c.className;
    }
    setClassifyWatcher(watch);
    skinStart(form, SkinPalette{}, false);

    // Created after the start: the creation hook classifies it.
    std::vector<WORD> dialogTemplate = emptyDialogTemplate();
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                             reinterpret_cast<DLGTEMPLATE*>(dialogTemplate.data()), form, dialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    setClassifyWatcher(nullptr);

    for (const Child& c : children) {
        EXPECT_EQ(windowClassName(c.window), c.className);
        ASSERT_TRUE(classified.count(c.window)) << c.className << " style " << c.style;
        EXPECT_EQ(classified[c.window], c.kind) << c.className << " style " << c.style;
    }
    EXPECT_EQ(windowClassName(dialog), "#32770");
    ASSERT_TRUE(classified.count(dialog));
    EXPECT_EQ(classified[dialog], WindowKind::frame);
    EXPECT_EQ(GetWindowLongPtrA(dialog, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(skinFrameProc));

    DestroyWindow(dialog);
    DestroyWindow(form);
    testpx::pumpMessages();
}

}  // namespace
