// A small skinned window to look at and to drive by hand: the main window has only the close
// button (like Certivex's own), a second window has minimize and maximize boxes too.
// Its "保存" button opens the save dialog, which the creation hook skins.
//   skin_demo.exe [x y [dialog]]   main window's top-left corner at (x, y); "dialog" opens the
//                                  save dialog right away
#include <windows.h>
#include <commdlg.h>

#include <cstdlib>
#include <string_view>

#include "assets/resource.h"
#include "skin/skin.h"

namespace {

constexpr int kSaveButton = 100;

void openSaveDialog(HWND owner) {
    char file[MAX_PATH] = "证书";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "PNG 图片 (*.png)\0*.png\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.lpstrTitle = "保存证书";
    ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    GetSaveFileNameA(&ofn);
}

LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kSaveButton) {
        openSaveDialog(window);
        return 0;
    }
    if (message == WM_DESTROY && GetWindowLongPtrA(window, GWLP_USERDATA) == 1) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createForm(const char* title, DWORD style, int x, int y, int clientW, int clientH, bool main) {
    RECT r{0, 0, clientW, clientH};
    AdjustWindowRect(&r, style, FALSE);
    HWND window = CreateWindowExA(0, formWindowClass, title, style, x, y, r.right - r.left, r.bottom - r.top, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (main) SetWindowLongPtrA(window, GWLP_USERDATA, 1);
    return window;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int x = 40, y = 40;
    if (__argc >= 3) {
        x = std::atoi(__argv[1]);
        y = std::atoi(__argv[2]);
    }
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = formProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = formWindowClass;
    RegisterClassExA(&wc);

    allocateSkinTables();
    HWND main = createForm("证书生成器 Certivex", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y, 360, 220, true);
    auto icon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_CERTIVEX), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    SendMessageA(main, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    CreateWindowExA(0, "Button", "预览", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 90, 28, main, nullptr,
                    instance, nullptr);
    CreateWindowExA(0, "Button", "保存", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 120, 20, 90, 28, main,
                    reinterpret_cast<HMENU>(kSaveButton), instance, nullptr);
    CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "张三", WS_CHILD | WS_VISIBLE, 20, 60, 160, 24, main, nullptr, instance,
                    nullptr);
    skinStart(main, SkinPalette{}, false);
    ShowWindow(main, SW_SHOW);

    // Created after the start, so the creation hook skins it.
    HWND second = createForm("最小化 最大化 & 关闭", WS_OVERLAPPEDWINDOW, x + 420, y, 300, 160, false);
    ShowWindow(second, SW_SHOWNOACTIVATE);
    SetForegroundWindow(main);
    if (__argc >= 4 && std::string_view(__argv[3]) == "dialog") PostMessageA(main, WM_COMMAND, kSaveButton, 0);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    releaseSkinTables();
    return 0;
}
