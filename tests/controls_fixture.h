// Shared by the control tests: the default palette without starting the skin, a parent window that
// hands draw-item requests to the skin's painters the way a skinned form does, controls with the
// dialog font, and draw records aimed at a canvas.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "skin/attach.h"
#include "skin/controls.h"
#include "skin/theme.h"
#include "support/pixels.h"

namespace ctltest {

// The theme's tables with the default colours; the skin itself (hook, frame) is not started.
inline SkinPalette& defaultPalette() {
    if (!skinPalette) allocateSkinTables();
    loadDefaultPalette();
    skinPalette->faceStart[3] = 0;  // tests that change colours start from the defaults again
    // The two shared brushes, as the theme set-up makes them.
    if (!editBrush) editBrush = CreateSolidBrush(blend(1.0f, skinPalette->windowColor, RGB(255, 255, 255)));
    if (!staticBrush) staticBrush = CreateSolidBrush(skinPalette->windowColor);
    return *skinPalette;
}

// What the test parent saw of its children.
struct ParentLog {
    std::vector<WORD> clicks;  // control ids of BN_CLICKED
    std::vector<UINT> drawStates;  // itemState of every WM_DRAWITEM
};
inline ParentLog& parentLog() {
    static ParentLog log;
    return log;
}

inline LRESULT CALLBACK testParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) parentLog().clicks.push_back(LOWORD(wParam));
    if (message == WM_DRAWITEM) {
        const auto& record = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        parentLog().drawStates.push_back(record.itemState);
        paintSkinnedItem(record);
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// One visible top-level window for the whole test binary (destroying a shown top-level window takes
// Wine about two seconds), whose children are painted by the skin's painters. Each call empties it.
inline HWND createTestParent() {
    static HWND parent = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = testParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "CertivexControlTestParent";
        RegisterClassA(&wc);
        return CreateWindowExA(0, wc.lpszClassName, "controls", WS_POPUP | WS_VISIBLE, 20, 20, 400, 300, nullptr,
                               nullptr, wc.hInstance, nullptr);
    }();
    while (HWND child = GetWindow(parent, GW_CHILD)) DestroyWindow(child);
    parentLog() = {};
    return parent;
}

inline HWND createControl(HWND parent, const char* cls, const char* text, DWORD style, RECT place, int id,
                          DWORD exStyle = 0) {
    HWND control = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                                   place.right - place.left, place.bottom - place.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

// A draw record for `control` aimed at a canvas of the control's size.
inline DRAWITEMSTRUCT recordFor(HWND control, HDC target, UINT itemState) {
    DRAWITEMSTRUCT record{};
    record.CtlType = ODT_BUTTON;
    record.CtlID = static_cast<UINT>(GetDlgCtrlID(control));
    record.itemAction = ODA_DRAWENTIRE;
    record.itemState = itemState;
    record.hwndItem = control;
    record.hDC = target;
    GetClientRect(control, &record.rcItem);
    return record;
}

// Bounding box of the pixels (x, y) of `area` that `isInk` accepts; empty (0, 0, 0, 0) when none.
inline RECT inkBox(RECT area, const std::function<bool(int, int)>& isInk) {
    RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (isInk(x, y)) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    if (box.left == LONG_MAX) return {0, 0, 0, 0};
    return box;
}

inline int channelDistance(COLORREF a, COLORREF b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

// The colour GradientFill gives at offset `at` of a fill that runs over [from, to) from s to e.
inline COLORREF gradientAt(COLORREF s, COLORREF e, int from, int to, int at) {
    auto mix = [&](int a, int b) { return a + (b - a) * (at - from) / (to - from); };
    return RGB(mix(GetRValue(s), GetRValue(e)), mix(GetGValue(s), GetGValue(e)), mix(GetBValue(s), GetBValue(e)));
}

// What a window's client area holds now, read through its own context (no message is processed).
inline testpx::Capture clientPixels(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    testpx::Capture capture;
    capture.width = r.right;
    capture.height = r.bottom;
    testpx::Canvas canvas(r.right, r.bottom);
    HDC dc = GetDC(window);
    BitBlt(canvas.dc, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
    capture.pixels.assign(canvas.bits, canvas.bits + static_cast<size_t>(r.right) * r.bottom);
    for (auto& p : capture.pixels) p &= 0xFFFFFF;
    return capture;
}

// What the screen shows of a window's client area once Wine has flushed its drawing.
inline testpx::Capture screenOf(HWND window) {
    testpx::pumpMessages(40);
    return testpx::captureClient(window);
}

// Pumps messages until `done` holds or the time is up; returns whether it held.
template <class Predicate>
bool pumpUntil(Predicate done, DWORD milliseconds = 2000) {
    const DWORD end = GetTickCount() + milliseconds;
    while (!done()) {
        if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
        testpx::pumpMessages(10);
    }
    return true;
}

inline std::string rectText(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof(text), "(%ld, %ld, %ld, %ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

// Colour comparisons that print (r, g, b) on failure.
inline testing::AssertionResult sameColour(COLORREF actual, COLORREF expected) {
    if (actual == expected) return testing::AssertionSuccess();
    return testing::AssertionFailure() << testpx::colourText(actual) << " is not " << testpx::colourText(expected);
}
inline testing::AssertionResult nearColour(COLORREF actual, COLORREF expected, int tolerance) {
    if (channelDistance(actual, expected) <= tolerance) return testing::AssertionSuccess();
    return testing::AssertionFailure() << testpx::colourText(actual) << " is not within " << tolerance << " of "
                                       << testpx::colourText(expected);
}

}  // namespace ctltest
