#include "skin/attach.h"

#include <cstring>
#include <vector>

#include "skin/controls.h"
#include "skin/frame.h"

HWND skinMainWindow = nullptr;
HICON fallbackIcon = nullptr;
HHOOK createHook = nullptr;
HHOOK createMessageHook = nullptr;

intptr_t getSkinProp(HWND window, const char* name) {
    return reinterpret_cast<intptr_t>(GetPropA(window, name));
}

void setSkinProp(HWND window, const char* name, intptr_t value) {
    SetPropA(window, name, reinterpret_cast<HANDLE>(value));
}

LRESULT callSavedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto proc = reinterpret_cast<WNDPROC>(getSkinProp(window, prop::windowProc));
    if (proc) return CallWindowProcA(proc, window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

void replaceWindowProc(HWND window, WNDPROC skinProc) {
    setSkinProp(window, prop::windowProc, GetWindowLongPtrA(window, GWLP_WNDPROC));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(skinProc));
}

std::string windowClassName(HWND window) {
    char name[128] = {};
    const int length = GetClassNameA(window, name, sizeof(name));
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

HGLOBAL createCaptionTextBlock(const char* text, size_t length) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length + 1);
    rewriteCaptionTextBlock(block, text, length);
    return block;
}

void rewriteCaptionTextBlock(HGLOBAL block, const char* text, size_t length) {
    if (!block) return;
    if (GlobalSize(block) != length + 1) GlobalReAlloc(block, length + 1, GMEM_MOVEABLE | GMEM_ZEROINIT);
    // Should the block not grow, it keeps as much of the text as fits.
    const size_t capacity = GlobalSize(block);
    if (capacity == 0) return;
    if (length > capacity - 1) length = capacity - 1;
    if (auto* bytes = static_cast<char*>(GlobalLock(block))) {
        if (length) std::memcpy(bytes, text, length);
        bytes[length] = '\0';
        GlobalUnlock(block);
    }
}

std::string readCaptionTextBlock(HGLOBAL block) {
    std::string text;
    if (!block) return text;
    if (const auto* bytes = static_cast<const char*>(GlobalLock(block))) {
        text.assign(bytes, strnlen(bytes, GlobalSize(block)));
        GlobalUnlock(block);
    }
    return text;
}

namespace {

ClassifyWatcher classifyWatcher = nullptr;

// WM_GETICON: the small icon, else the big one; 0 when the window has neither.
HICON windowIcon(HWND window) {
    auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    return icon;
}

bool hasFullCaption(LONG style) { return (style & WS_CAPTION) == WS_CAPTION; }

}  // namespace

void setClassifyWatcher(ClassifyWatcher watcher) { classifyWatcher = watcher; }

void skinStart(HWND window, const SkinPalette& palette, bool useGivenPalette) {
    static bool started = false;
    if (started) return;
    started = true;
    skinMainWindow = window;
    fallbackIcon = windowIcon(window);
    setupTheme(palette, useGivenPalette);
    attachFrameWindow(window);
    // Direct children only: what lies deeper (labels on the certificate view) stays as it is.
    for (HWND child = FindWindowExA(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(window, child, nullptr, nullptr))
        classifyWindow(child);
    installCreateHook();
}

void attachFrameWindow(HWND window) {
    // Attaching twice would save skinFrameProc as the window's own procedure and chain it to itself.
    if (GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(skinFrameProc)) return;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if (style & WS_SYSMENU) {
        setSkinProp(window, prop::closeButton, kButtonNormal);
        setSkinProp(window, prop::systemMenu, 1);
    } else {
        setSkinProp(window, prop::closeButton, kButtonUnavailable);
        setSkinProp(window, prop::systemMenu, 0);
    }
    setSkinProp(window, prop::captionBar, hasFullCaption(style) ? 1 : 0);
    setSkinProp(window, prop::maximizeButton, (style & WS_MAXIMIZEBOX) ? kButtonNormal : kButtonUnavailable);
    setSkinProp(window, prop::minimizeButton, (style & WS_MINIMIZEBOX) ? kButtonNormal : kButtonUnavailable);

    char text[128] = {};
    const int length = GetWindowTextA(window, text, sizeof(text));
    const HGLOBAL block = createCaptionTextBlock(text, length > 0 ? static_cast<size_t>(length) : 0);
    setSkinProp(window, prop::captionText, reinterpret_cast<intptr_t>(block));

    HICON icon = windowIcon(window);
    setSkinProp(window, prop::iconHandle, reinterpret_cast<intptr_t>(icon ? icon : fallbackIcon));
    setSkinProp(window, prop::windowProc, GetWindowLongPtrA(window, GWLP_WNDPROC));
    setSkinProp(window, prop::timerState, 0);
    setSkinProp(window, prop::restoreFlag, 0);
    setSkinProp(window, prop::activeState, 0);

    RECT client{};
    GetClientRect(window, &client);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(skinFrameProc));
    if (hasFullCaption(style)) {
        // skinFrameProc now answers the non-client size with the skin's insets, so growing the
        // window by them keeps the client area as it was.
        const SkinSprites& sp = *skinSprites;
        const int width = client.right + sp.leftBorder.active.w + sp.rightBorder.active.w;
        const int height = client.bottom + sp.caption.active.h + sp.bottomBorder.active.h;
        SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    } else {
        // Not resized, but its client area takes the skin's insets now, not at its next size change.
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

WindowKind windowKind(const std::string& className, LONG style) {
    if (className == formWindowClass || className == "#32770") return WindowKind::frame;
    if (className == "Button") {
        switch (style & 15) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON: return WindowKind::pushButton;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX: return WindowKind::checkBox;
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON: return WindowKind::radioButton;
            case BS_OWNERDRAW: return WindowKind::dropDownButton;
            default: return WindowKind::none;
        }
    }
    if (className == "Edit") return WindowKind::editBox;
    if (className == "ComboBox") return WindowKind::comboBox;
    if (className == "msctls_progress32") return WindowKind::progressBar;
    return WindowKind::none;
}

void classifyWindow(HWND window) {
    const std::string name = windowClassName(window);
    const LONG style = name == "Button" ? GetWindowLongA(window, GWL_STYLE) : 0;
    const WindowKind kind = windowKind(name, style);
    switch (kind) {
        case WindowKind::frame: attachFrameWindow(window); break;
        case WindowKind::pushButton: attachPushButton(window); break;
        case WindowKind::checkBox: attachCheckBox(window); break;
        case WindowKind::radioButton: attachRadioButton(window); break;
        case WindowKind::dropDownButton: attachDropDownButton(window); break;
        case WindowKind::editBox: attachEditBox(window); break;
        case WindowKind::comboBox: attachComboBox(window); break;
        case WindowKind::progressBar: attachProgressBar(window); break;
        case WindowKind::none: break;
    }
    if (classifyWatcher) classifyWatcher(window, kind);
}

// Windows are attached when their WM_CREATE is sent to them, before their own procedure sees it,
// which takes a WH_CALLWNDPROC hook. Such a hook puts every message sent on this thread through
// the hook chain (under Wine a server round trip each, a hundred times the cost of a list box
// append), so it is installed only while windows are being created: a WH_CBT hook, called only at
// creation, activation, focus and the like, installs it at HCBT_CREATEWND and it removes itself
// once every window whose creation began has had its WM_CREATE or been destroyed.
namespace {

// Windows whose creation has begun and whose WM_CREATE has not been sent yet; a window created
// inside another's WM_NCCREATE or WM_CREATE (a combo box's list) nests.
std::vector<HWND> creationsInFlight;

void forgetCreation(HWND window) {
    std::erase(creationsInFlight, window);
    if (creationsInFlight.empty() && createMessageHook) {
        UnhookWindowsHookEx(createMessageHook);
        createMessageHook = nullptr;
    }
}

LRESULT CALLBACK creationWatchProc(int code, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallNextHookEx(createHook, code, wParam, lParam);
    // Another hook may refuse the creation (result non-zero): then no WM_CREATE will come.
    if (code == HCBT_CREATEWND && result == 0) {
        creationsInFlight.push_back(reinterpret_cast<HWND>(wParam));
        if (!createMessageHook)
            createMessageHook = SetWindowsHookExA(WH_CALLWNDPROC, createHookProc, GetModuleHandleA(nullptr),
                                                  GetCurrentThreadId());
    } else if (code == HCBT_DESTROYWND) {
        forgetCreation(reinterpret_cast<HWND>(wParam));
    }
    return result;
}

}  // namespace

void installCreateHook() {
    createHook = SetWindowsHookExA(WH_CBT, creationWatchProc, GetModuleHandleA(nullptr), GetCurrentThreadId());
}

void removeCreateHook() {
    if (createHook) UnhookWindowsHookEx(createHook);
    createHook = nullptr;
    creationsInFlight.clear();
    if (createMessageHook) UnhookWindowsHookEx(createMessageHook);
    createMessageHook = nullptr;
}

LRESULT CALLBACK createHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallNextHookEx(createMessageHook, code, wParam, lParam);
    if (lParam) {
        CWPSTRUCT sent;
        std::memcpy(&sent, reinterpret_cast<const void*>(lParam), sizeof(sent));
        // Attached while being created, before its own procedure sees WM_CREATE.
        if (sent.message == WM_CREATE) {
            classifyWindow(sent.hwnd);
            forgetCreation(sent.hwnd);
        } else if (sent.message == WM_NCDESTROY) {
            // Refused in WM_NCCREATE: destroyed without a WM_CREATE.
            forgetCreation(sent.hwnd);
        }
    }
    return result;
}
