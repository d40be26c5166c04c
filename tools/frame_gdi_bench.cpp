// Frame repaint cost and GDI object balance: a skinned window repainted 10,000 times (whole frame
// through WM_NCPAINT, then the caption buttons in changing states, every tenth time also the
// update-region path); prints the live GDI objects before and after and the time taken.
//   frame_gdi_bench.exe [repaints]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "skin/attach.h"
#include "skin/frame.h"
#include "tools/support/usage.h"

int main(int argc, char** argv) {
    const int repaints = argc > 1 ? std::atoi(argv[1]) : 10000;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = formWindowClass;
    RegisterClassExA(&wc);
    allocateSkinTables();
    HWND window = CreateWindowExA(0, formWindowClass, "GDI 计数",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 80, 80,
                                  400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    skinStart(window, SkinPalette{}, false);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    RECT r;
    GetWindowRect(window, &r);
    auto round = [&](int i) {
        setSkinProp(window, prop::activeState, i & 1);
        SendMessageA(window, WM_NCPAINT, 1, 0);
        setSkinProp(window, prop::closeButton, i % 3);
        paintCaptionButtons(window, nullptr);
        if (i % 10 == 0) {
            HRGN update = CreateRectRgn(r.left, r.top, r.right, r.top + 31);
            SendMessageA(window, WM_NCPAINT, reinterpret_cast<WPARAM>(update), 0);
            DeleteObject(update);
        }
    };
    for (int i = 0; i < 50; ++i) round(i);
    const unsigned before = usage::gdiObjects().value;
    const DWORD start = GetTickCount();
    for (int i = 0; i < repaints; ++i) round(i);
    const DWORD elapsed = GetTickCount() - start;
    const usage::Count counted = usage::gdiObjects();
    const unsigned after = counted.value;
    std::printf("counted by %s\n", usage::sourceName(counted.source, false));
    std::printf("live GDI objects before %u, after %d frame repaints %u (%+d)\n", before, repaints, after,
                static_cast<int>(after) - static_cast<int>(before));
    std::printf("%lu ms, %.3f ms per round (whole frame + buttons)\n", static_cast<unsigned long>(elapsed),
                repaints ? static_cast<double>(elapsed) / repaints : 0.0);
    DestroyWindow(window);
    return after == before ? 0 : 1;
}
