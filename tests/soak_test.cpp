// Soak: the composer and every skinned control worked round after round — frame and caption
// repaints, caption-button and control hover sequences, push buttons, check boxes, radio buttons,
// combo boxes, progress bars, previews, template and photo changes, exports, and file dialogs and
// message boxes opened and dismissed — with the process's GDI objects, USER objects, windows and
// memory flat at the end.
//
// The suite runs a short soak (40 rounds, one file dialog: a few seconds). `make soak` runs the long
// one (scripts/soak) through CERTIVEX_SOAK_ROUNDS and CERTIVEX_SOAK_DIALOG_EVERY (rounds between
// rounds of all three dialogs).
//
// Measured with tools/support/usage: GDI objects exactly (GetGuiResources, or under Wine a walk of
// the GDI handle table), USER objects (GetGuiResources, or under Wine this process's windows and
// menus found in the USER handle table), and private bytes and working set (GetProcessMemoryInfo).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "app/composer.h"
#include "skin/attach.h"
#include "skin/controls.h"
#include "support/app.h"
#include "support/corpus.h"
#include "tools/support/usage.h"

namespace {

int setting(const char* name, int fallback) {
    char value[32] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    const int n = length > 0 && length < sizeof(value) ? std::atoi(value) : 0;
    return n > 0 ? n : fallback;
}

const int kRounds = setting("CERTIVEX_SOAK_ROUNDS", 40);
// Under Wine a file dialog takes about two seconds to wind down after it closes, so the short soak
// opens the save dialog in its warm-up until the count settles and once in its rounds; the long one
// all three kinds, often.
const int kDialogEvery = setting("CERTIVEX_SOAK_DIALOG_EVERY", 0);
const bool kShort = kDialogEvery == 0;
constexpr int kExportEvery = 10;
constexpr int kTemplateEvery = 7;
constexpr int kPhotoEvery = 13;

// Growth of private bytes still called flat at the end of a soak: heaps keep some of what they
// handed out, and the first hundred thousand paints settle font and glyph caches.
constexpr size_t kMemorySlack = 3u << 20;

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) processFormMessage(msg);
}

void pumpFor(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    do {
        pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
    pump();
}

LPARAM screenPoint(HWND window, int x, int y) {
    RECT r;
    GetWindowRect(window, &r);
    return MAKELPARAM(r.left + x, r.top + y);
}

class Soak : public testing::Test {
protected:
    static void SetUpTestSuite() {
        allocateSkinTables();
        folder = new testapp::TemplateFolder;
        const std::vector<uint8_t> jpeg = resourceBytes(IDR_DEFAULT_TEMPLATE);
        for (const corpus::Picture& p : corpus::pictures(jpeg)) {
            const std::string name = corpus::ansi(p.name);
            if (name == "good.jpg" || name == "gif-named.jpg" || name == "huge.jpg" || name == "cut-third.jpg")
                corpus::writeFile(wideOf(folder->path) + L"\\" + corpus::wide(p.name), p.bytes);
            if (name == "animated.gif") animatedPhoto = new std::vector<uint8_t>(p.bytes);
        }
        SetCursorPos(1270, 1010);  // away from every window: hover comes from the messages below
    }
    static void TearDownTestSuite() {
        delete folder;
        delete animatedPhoto;
    }
    static std::wstring wideOf(const std::string& ansi) {
        const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
        std::wstring w(n, L'\0');
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(), n);
        return w;
    }

    static inline testapp::TemplateFolder* folder = nullptr;
    static inline std::vector<uint8_t>* animatedPhoto = nullptr;
};

// A second skinned form with a control of every other kind, created after the skin started, so the
// creation hook attaches all of them as it does for the file dialogs.
struct ControlForm {
    HWND form, check, radioA, radioB, combo, progress, vertical, dropDown, edit;
};

ControlForm createControlForm() {
    ControlForm f{};
    f.form = CreateWindowExA(0, formWindowClass, "控件 Soak", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                             660, 40, 360, 260, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    auto add = [&](const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, f.form,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    };
    f.check = add("Button", "选中", BS_AUTOCHECKBOX, 10, 10, 120, 20, 1);
    f.radioA = add("Button", "甲", BS_AUTORADIOBUTTON | WS_GROUP, 10, 34, 120, 20, 2);
    f.radioB = add("Button", "乙", BS_AUTORADIOBUTTON, 10, 58, 120, 20, 3);
    f.combo = add("ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL, 150, 10, 160, 120, 4);
    for (const char* item : {"证书", "奖状", "聘书"}) SendMessageA(f.combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    f.progress = add(PROGRESS_CLASSA, "", 0, 10, 90, 200, 20, 5);
    f.vertical = add(PROGRESS_CLASSA, "", PBS_VERTICAL, 320, 10, 20, 150, 6);
    f.dropDown = add("Button", "下拉", BS_OWNERDRAW, 150, 50, 120, 24, 7);
    f.edit = add("Edit", "编辑", ES_AUTOHSCROLL, 10, 120, 200, 24, 8);
    ShowWindow(f.form, SW_SHOWNOACTIVATE);
    return f;
}

// One round of everything that paints. `i` varies states, texts and positions.
void paintRound(const ControlForm& f, int i) {
    HWND main = mainWindow;
    // Frames: whole non-client paints in both looks, a caption text change.
    SendMessageA(main, WM_NCACTIVATE, i & 1, 0);
    SendMessageA(main, WM_NCPAINT, 1, 0);
    SendMessageA(f.form, WM_NCPAINT, 1, 0);
    char caption[32];
    wsprintfA(caption, "控件 Soak %d", i % 17);
    SetWindowTextA(f.form, caption);
    // A hover sequence over the caption buttons: close, then the caption, then away.
    SendMessageA(f.form, WM_NCMOUSEMOVE, HTCLOSE, screenPoint(f.form, 360 - 30, 10));
    SendMessageA(f.form, WM_NCMOUSEMOVE, HTMINBUTTON, screenPoint(f.form, 360 - 90, 10));
    SendMessageA(f.form, WM_NCMOUSEMOVE, HTCAPTION, screenPoint(f.form, 100, 10));
    // Push buttons: hover and leave, and a paint through the parent's draw-item request.
    for (int id : {ids::changePhotoButton, ids::previewButton, ids::saveButton}) {
        HWND b = formControl(id);
        SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        SendMessageA(b, WM_MOUSELEAVE, 0, 0);
        RedrawWindow(b, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    // Check box and radio buttons by click, the drop-down button's hover, the combo box's hover,
    // selection and timer, the progress bars, the edit box frames.
    SendMessageA(f.check, BM_CLICK, 0, 0);
    SendMessageA((i & 1) ? f.radioA : f.radioB, BM_CLICK, 0, 0);
    SendMessageA(f.dropDown, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(f.dropDown, WM_MOUSELEAVE, 0, 0);
    SendMessageA(f.combo, WM_MOUSEMOVE, 0, MAKELPARAM(150, 8));
    SendMessageA(f.combo, CB_SETCURSEL, i % 3, 0);
    SendMessageA(f.combo, WM_MOUSELEAVE, 0, 0);
    SendMessageA(f.progress, PBM_SETPOS, i % 101, 0);
    SendMessageA(f.vertical, PBM_SETPOS, (i * 7) % 101, 0);
    SendMessageA(f.edit, WM_NCPAINT, 1, 0);
    SendMessageA(formControl(ids::nameEdit), WM_NCPAINT, 1, 0);
    // The composer: typed texts and a preview through a click on 预览.
    char name[16];
    wsprintfA(name, "张%d", i % 100);
    SetWindowTextA(formControl(ids::nameEdit), name);
    SendMessageA(formControl(ids::previewButton), BM_CLICK, 0, 0);
}

void composerRound(int i, const std::string& exportFolder, const std::vector<uint8_t>& animated) {
    if (i % kTemplateEvery == 0) {
        HWND list = formControl(ids::templateList);
        const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        if (count > 0) {
            SendMessageA(list, LB_SETCURSEL, (i / kTemplateEvery) % count, 0);
            onTemplateSelected();
        }
    }
    if (i % kPhotoEvery == 0)
        setPictureBytes(formControl(ids::photoBox), (i / kPhotoEvery) % 2 ? animated : resourceBytes(IDR_DEFAULT_PHOTO));
    if (i % kExportEvery == 0) {
        const std::string path = exportFolder + "\\soak.png";
        std::string error;
        EXPECT_TRUE(writePngFile(renderCertificate(formControl(ids::certificateView)), path, error)) << error;
        DeleteFileA(path.c_str());
    }
}

// File dialogs and a message box, each opened and dismissed as a user would.
int dialogRound(const std::string& exportFolder) {
    {
        testapp::DialogDriver driver({""});
        onSaveClicked();  // the save dialog, cancelled
    }
    if (kShort) return 1;
    {
        testapp::DialogDriver driver({""});
        onChangePhotoClicked();  // the open dialog, cancelled
    }
    {
        testapp::DialogDriver driver({exportFolder + "\\taken", ""});
        onSaveClicked();  // a folder's name chosen: the message box saying so, dismissed
        EXPECT_EQ(driver.answered(), 2);
    }
    return 4;
}

// The same picture in both boxes before every count: what a box holds depends on its picture.
void sameState() {
    setPictureBytes(formControl(ids::photoBox), resourceBytes(IDR_DEFAULT_PHOTO));
    setPictureBytes(formControl(ids::certificateView), resourceBytes(IDR_DEFAULT_TEMPLATE));
    pumpFor(300);
}

std::string line(const char* when, const usage::Snapshot& s) { return std::string(when) + ": " + usage::describe(s); }

TEST_F(Soak, EverythingStaysFlat) {
    ASSERT_NE(createMainWindow(GetModuleHandleA(nullptr)), nullptr);
    onWindowCreated();
    ShowWindow(mainWindow, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(testapp::waitForListing(formControl(ids::templateList)));
    const ControlForm form = createControlForm();
    testapp::ScratchFolder exports("soak-out");
    CreateDirectoryA((exports / "taken.png").c_str(), nullptr);
    SetWindowTextA(formControl(ids::sexEdit), "男");
    SetWindowTextA(formControl(ids::ageEdit), "28");

    // Warm-up: every kind of work once, so that what the platform keeps from a first use (shell
    // folders and icons of the file dialog, fonts, decoders) is there before the first count.
    for (int i = 0; i < 10; ++i) {
        paintRound(form, i);
        composerRound(i, exports.path, *animatedPhoto);
        pump();
    }
    // The platform keeps objects from the first whole paint of a file dialog (Wine: two bitmaps,
    // 16x128 and 6x5, the same without any skin) and a brush from the second opening: open the
    // dialogs until an opening leaves the count where it was, at most four times.
    for (int opened = 0; opened < 4; ++opened) {
        const unsigned held = usage::gdiObjects().value;
        dialogRound(exports.path);
        sameState();
        if (opened > 0 && usage::gdiObjects().value == held) break;
    }
    sameState();
    const usage::Snapshot before = usage::snapshot();
    const std::vector<std::string> tableBefore = usage::gdiTable();
    std::printf("%s\n", line("start", before).c_str());

    std::vector<usage::Snapshot> marks;
    int dialogs = 0, exportsWritten = 0;
    const DWORD start = GetTickCount();
    for (int i = 1; i <= kRounds; ++i) {
        paintRound(form, i);
        composerRound(i, exports.path, *animatedPhoto);
        if (i % kExportEvery == 0) ++exportsWritten;
        if (kShort ? i == kRounds / 2 : i % kDialogEvery == 0) dialogs += dialogRound(exports.path);
        pump();
        if (i % (kRounds / 4 > 0 ? kRounds / 4 : 1) == 0) {
            sameState();
            marks.push_back(usage::snapshot());
            std::printf("%s\n", line(("round " + std::to_string(i)).c_str(), marks.back()).c_str());
            if (marks.back().gdi.value != before.gdi.value)
                std::printf("%s", usage::gdiDifference(tableBefore, usage::gdiTable()).c_str());
        }
    }
    const DWORD elapsed = GetTickCount() - start;
    sameState();  // hover timers run out too
    const usage::Snapshot after = usage::snapshot();
    std::printf("%s\n", line("end", after).c_str());
    // Each round: 2 activation and 2 whole-frame paints, a caption text change, a caption-button
    // hover sequence, 3 push buttons hovered, left and repainted, a check box and a radio button
    // clicked, drop-down and combo box hover sequences, a combo selection, 2 progress positions,
    // 2 edit frames, a typed name and a preview clicked.
    std::printf("%d rounds in %lu ms; %d exports, %d dialogs and message boxes opened and dismissed\n", kRounds,
                static_cast<unsigned long>(elapsed), exportsWritten, dialogs);

    EXPECT_EQ(after.gdi.value, before.gdi.value) << "GDI objects:\n" << usage::gdiDifference(tableBefore, usage::gdiTable());
    EXPECT_EQ(after.user.value, before.user.value) << "USER objects";
    EXPECT_EQ(after.windows, before.windows) << "windows";
    EXPECT_LE(after.memory.privateBytes, before.memory.privateBytes + kMemorySlack) << "private bytes";
    // Over the second half nothing may creep up at all beyond the slack.
    if (marks.size() >= 2) {
        const usage::Snapshot& half = marks[marks.size() / 2 - 1];
        EXPECT_LE(after.memory.privateBytes, half.memory.privateBytes + kMemorySlack / 2) << "private bytes, second half";
    }
    EXPECT_TRUE(testapp::folderEntries(exports.path) == std::vector<std::string>{"taken.png"});

    DestroyWindow(form.form);
}

}  // namespace
