// uidriver: drives a running Certivex from another process, for the end-to-end runs and `make run`.
// Real pointer and keyboard input comes from xdotool on the X side; this covers what xdotool
// cannot do well: finding windows and controls, reading their texts and rectangles, and typing
// Chinese text (sent as character messages, the way an input method delivers it).
//
//   uidriver wait-window SECONDS          prints the main window's rectangle when it is shown
//   uidriver wait-list COUNT SECONDS      waits until the template list holds COUNT items
//   uidriver client                       screen rectangle of the main window's client area
//   uidriver rect ID                      screen rectangle of a control (ids of app/ids.h)
//   uidriver text ID                      text of a control, UTF-8
//   uidriver type ID TEXT                 focuses the control and types TEXT character by character
//   uidriver select INDEX                 selects a template list item as a user would
//   uidriver wait-dialog SECONDS          rectangle of a file dialog or message box of Certivex
//   uidriver wait-no-dialog SECONDS       waits until no such window is shown
//   uidriver wait-no-file-dialog SECONDS  waits until no file dialog is shown (a message box may be)
//   uidriver dialog-text                  caption and static texts of that window, UTF-8
//   uidriver dialog-item ID               screen rectangle of a control of that window (1 = OK)
//   uidriver wait-gone SECONDS            waits until Certivex's main window is gone
// Rectangles print as "left top right bottom". Exit status 0 on success, 1 on failure or time-out.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/ids.h"
#include "skin/attach.h"

namespace {

constexpr char kCaption[] = "[Varnholt.Kestrune]Certivex";

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

void print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void printRect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    print(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
          std::to_string(r.bottom));
}

HWND mainWindow() { return FindWindowA(formWindowClass, kCaption); }

// Waits up to `seconds` for `find` to give a window.
template <class Find>
HWND waitFor(double seconds, Find find) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    for (;;) {
        if (HWND w = find()) return w;
        if (static_cast<LONG>(end - GetTickCount()) <= 0) return nullptr;
        Sleep(50);
    }
}

HWND control(int id) {
    HWND main = mainWindow();
    if (!main) return nullptr;
    if (HWND direct = GetDlgItem(main, id)) return direct;
    return GetDlgItem(GetDlgItem(main, ids::certificateView), id);  // the overlay labels and PhotoBox
}

std::wstring windowText(HWND window) {
    wchar_t buffer[1024] = {};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

// A visible dialog ("#32770": file dialogs and message boxes) that belongs to Certivex's process.
// With `fileOnly`, only a file dialog: the one kind of these windows with a file name combo box.
HWND certivexDialog(bool fileOnly = false) {
    HWND main = mainWindow();
    if (!main) return nullptr;
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    struct Search { DWORD pid; bool fileOnly; HWND found; } search{pid, fileOnly, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            char name[64] = {};
            GetClassNameA(w, name, sizeof(name));
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == s->pid && IsWindowVisible(w) && std::string(name) == "#32770" &&
                (!s->fileOnly || FindWindowExA(w, nullptr, "ComboBox", nullptr))) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int run(const std::vector<std::wstring>& args) {
    if (args.size() < 2) return 2;
    const std::wstring& command = args[1];
    auto number = [&](size_t i, double fallback) { return i < args.size() ? std::wcstod(args[i].c_str(), nullptr) : fallback; };

    if (command == L"wait-window") {
        HWND w = waitFor(number(2, 30), [] { HWND m = mainWindow(); return m && IsWindowVisible(m) ? m : nullptr; });
        if (!w) return 1;
        printRect(w);
        return 0;
    }
    if (command == L"wait-list") {
        const auto want = static_cast<LRESULT>(number(2, 1));
        HWND list = waitFor(number(3, 30), [want] {
            HWND l = control(ids::templateList);
            return l && SendMessageW(l, LB_GETCOUNT, 0, 0) >= want ? l : nullptr;
        });
        if (!list) return 1;
        print(std::to_string(SendMessageW(list, LB_GETCOUNT, 0, 0)));
        return 0;
    }
    if (command == L"client") {
        HWND main = mainWindow();
        RECT r;
        if (!main || !GetClientRect(main, &r)) return 1;
        MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&r), 2);
        print(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
              std::to_string(r.bottom));
        return 0;
    }
    if (command == L"rect" || command == L"text") {
        HWND c = control(static_cast<int>(number(2, 0)));
        if (!c) return 1;
        if (command == L"rect") printRect(c); else print(utf8(windowText(c)));
        return 0;
    }
    if (command == L"type" && args.size() >= 4) {
        HWND c = control(static_cast<int>(number(2, 0)));
        if (!c) return 1;
        // Focus moves through the window's own thread; then each character arrives as typed.
        DWORD thread = GetWindowThreadProcessId(c, nullptr);
        AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
        SetFocus(c);
        AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
        // Each character lands at the caret the way an input method commits it. (Wine's ANSI edit
        // control turns double-byte WM_CHAR / WM_IME_CHAR messages into "?", so a Chinese character
        // is committed as a one-character replacement of the selection instead.)
        for (wchar_t ch : args[3]) {
            if (ch < 0x80) {
                SendMessageW(c, WM_CHAR, ch, 1);
            } else {
                const wchar_t one[2] = {ch, 0};
                SendMessageW(c, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(one));
            }
            Sleep(10);
        }
        // Wait until the control has taken every character.
        return waitFor(5, [&] { return windowText(c) == args[3] ? c : nullptr; }) ? 0 : 1;
    }
    if (command == L"settext" && args.size() >= 4) {
        HWND c = control(static_cast<int>(number(2, 0)));
        if (!c) return 1;
        SendMessageW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[3].c_str()));
        return 0;
    }
    if (command == L"select") {
        HWND list = control(ids::templateList);
        if (!list) return 1;
        const auto index = static_cast<WPARAM>(number(2, 0));
        if (SendMessageW(list, LB_SETCURSEL, index, 0) == LB_ERR) return 1;
        // A program-made selection sends no notification; the user's click would, so send it.
        SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(ids::templateList, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        return 0;
    }
    if (command == L"wait-dialog") {
        HWND d = waitFor(number(2, 30), [] { return certivexDialog(); });
        if (!d) return 1;
        printRect(d);
        return 0;
    }
    if (command == L"wait-no-dialog") {
        return waitFor(number(2, 30), [] { return certivexDialog() ? nullptr : HWND(1); }) ? 0 : 1;
    }
    if (command == L"wait-no-file-dialog") {
        return waitFor(number(2, 30), [] { return certivexDialog(true) ? nullptr : HWND(1); }) ? 0 : 1;
    }
    if (command == L"dialog-text") {
        HWND d = certivexDialog();
        if (!d) return 1;
        print(utf8(windowText(d)));
        for (HWND child = GetWindow(d, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char name[64] = {};
            GetClassNameA(child, name, sizeof(name));
            if (std::string(name) == "Static" && IsWindowVisible(child)) print(utf8(windowText(child)));
        }
        return 0;
    }
    if (command == L"dialog-item") {
        HWND d = certivexDialog();
        HWND item = d ? GetDlgItem(d, static_cast<int>(number(2, IDOK))) : nullptr;
        if (!item || !IsWindowVisible(item)) return 1;
        printRect(item);
        return 0;
    }
    if (command == L"wait-gone") {
        return waitFor(number(2, 30), [] { return mainWindow() ? nullptr : HWND(1); }) ? 0 : 1;
    }
    return 2;
}

}  // namespace

int main() {
    // Lines end in "\n" alone: the scripts read the output with `read` and shell arithmetic, which
    // a text-mode "\r\n" would break.
    _setmode(_fileno(stdout), _O_BINARY);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv, argv + argc);
    LocalFree(argv);
    return run(args);
}
