// Combo boxes: frame and arrow box by their pixels, and the faces through press, the 5 ms repaint
// and release, driven by real messages to real combo boxes.
#include "controls_fixture.h"

using ctltest::nearColour;
using ctltest::sameColour;
using testpx::Canvas;

namespace {

class ComboTest : public testing::Test {
protected:
    void SetUp() override {
        palette = &ctltest::defaultPalette();
        parent = ctltest::createTestParent();
        comboHoverFlag = false;
    }
    HWND combo(DWORD type, int id = 500, int x = 10) {
        HWND c = ctltest::createControl(parent, "ComboBox", "", type | WS_VSCROLL, {x, 10, x + 120, 150}, id);
        SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("证书 certificate"));
        SendMessageA(c, CB_SETCURSEL, 0, 0);
        attachComboBox(c);
        return c;
    }
    // Runs only this combo box's timer messages, so that nothing else (a posted pointer leave, the
    // list's painting) moves in between. Returns how many arrived.
    static int runTimers(HWND c, DWORD milliseconds) {
        int count = 0;
        const DWORD end = GetTickCount() + milliseconds;
        MSG msg;
        do {
            while (PeekMessageA(&msg, c, WM_TIMER, WM_TIMER, PM_REMOVE)) {
                DispatchMessageA(&msg);
                ++count;
            }
            Sleep(1);
        } while (static_cast<LONG>(end - GetTickCount()) > 0);
        return count;
    }
    // The colour of the arrow box one row under its frame, which tells the three faces apart.
    COLORREF boxTop(HWND c) {
        RECT r;
        GetClientRect(c, &r);
        return ctltest::clientPixels(c).at(r.right - 17, 3);
    }
    COLORREF expectedBoxTop(HWND c, int face) {
        RECT r;
        GetClientRect(c, &r);
        const int T = 2, half = (r.bottom - 2 - T) / 2;
        const COLORREF S = palette->faceStart[face], E = palette->faceEnd[face];
        return ctltest::gradientAt(S, blend(0.88f, E, S), T, T + half, 3);
    }
    SkinPalette* palette = nullptr;
    HWND parent = nullptr;
};

TEST_F(ComboTest, DropDownListOf120By20) {
    HWND c = combo(CBS_DROPDOWNLIST);
    Canvas canvas(120, 20, RGB(0, 0, 0));
    DRAWITEMSTRUCT record = ctltest::recordFor(c, canvas.dc, 0);
    record.rcItem = {0, 0, 120, 20};
    paintComboBox(record);
    const COLORREF line = palette->lineColor, window = palette->windowColor, white = RGB(255, 255, 255);
    for (const POINT p : {POINT{0, 0}, POINT{119, 0}, POINT{0, 19}, POINT{119, 19}})
        EXPECT_TRUE(sameColour(canvas.at(p.x, p.y), window)) << p.x << "," << p.y;
    for (const POINT p : {POINT{40, 0}, POINT{40, 19}, POINT{0, 10}, POINT{119, 10}})
        EXPECT_TRUE(sameColour(canvas.at(p.x, p.y), line)) << p.x << "," << p.y;
    for (const POINT p : {POINT{40, 1}, POINT{40, 18}, POINT{1, 10}, POINT{118, 10}})
        EXPECT_TRUE(sameColour(canvas.at(p.x, p.y), white)) << p.x << "," << p.y;
    // Arrow box (101, 2)-(118, 18): 17 × 16, frame on columns 101 and 117 and rows 2 and 17.
    EXPECT_TRUE(sameColour(canvas.at(101, 10), line));
    EXPECT_TRUE(sameColour(canvas.at(117, 10), line));
    EXPECT_TRUE(sameColour(canvas.at(105, 2), line));
    EXPECT_TRUE(sameColour(canvas.at(105, 17), line));
    EXPECT_TRUE(sameColour(canvas.at(101, 2), window));
    EXPECT_TRUE(sameColour(canvas.at(117, 17), window));
    EXPECT_TRUE(sameColour(canvas.at(102, 10), blend(0.8f, palette->faceEnd[0], palette->faceStart[0])));
    EXPECT_TRUE(sameColour(canvas.at(100, 10), RGB(0, 0, 0))) << "left of the box the platform's drawing stays";
    const RECT ink = ctltest::inkBox({102, 3, 117, 17}, [&](int x, int y) {
        return ctltest::channelDistance(canvas.at(x, y), palette->textColor) < 40;
    });
    EXPECT_LE(ink.right - ink.left, arrowGlyphCell(17, 16).width);
    EXPECT_GT(ink.right - ink.left, 2);
}

TEST_F(ComboTest, SimpleComboBoxHasNoArrowBox) {
    HWND c = combo(CBS_SIMPLE);
    Canvas canvas(120, 20, RGB(0, 0, 0));
    DRAWITEMSTRUCT record = ctltest::recordFor(c, canvas.dc, 0);
    record.rcItem = {0, 0, 120, 20};
    paintComboBox(record);
    EXPECT_TRUE(sameColour(canvas.at(0, 10), palette->lineColor));
    EXPECT_TRUE(sameColour(canvas.at(118, 10), RGB(255, 255, 255)));
    EXPECT_TRUE(sameColour(canvas.at(108, 10), RGB(0, 0, 0)));
    EXPECT_TRUE(sameColour(canvas.at(101, 10), RGB(0, 0, 0)));
}

// The platform procedure under the skin, recording what the control shows when a press or a release
// reaches it (the platform then draws its own pressed button).
WNDPROC comboPlatform = nullptr;
std::vector<testpx::Capture> seenByPlatform;
LRESULT CALLBACK comboUnderTest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) seenByPlatform.push_back(ctltest::clientPixels(window));
    return CallWindowProcA(comboPlatform, window, message, wParam, lParam);
}

TEST_F(ComboTest, PressTimerReleaseSequence) {
    HWND c = ctltest::createControl(parent, "ComboBox", "", CBS_DROPDOWNLIST, {10, 10, 130, 150}, 502);
    comboPlatform = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(c, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&comboUnderTest)));
    attachComboBox(c);
    seenByPlatform.clear();
    UpdateWindow(parent);
    runTimers(c, 20);
    RECT r;
    GetClientRect(c, &r);
    const LPARAM onButton = MAKELPARAM(r.right - 8, r.bottom / 2);
    auto boxTopOf = [&](const testpx::Capture& px) { return px.at(r.right - 17, 3); };

    SendMessageA(c, WM_MOUSEMOVE, 0, onButton);
    EXPECT_TRUE(comboHoverFlag);
    // Common controls 6 track the pointer over the drop-down button and repaint it at once when the
    // pointer enters or leaves it; the skin lays its face over that platform paint 5 ms later.
    runTimers(c, 20);
    EXPECT_TRUE(nearColour(boxTop(c), expectedBoxTop(c, kFaceHover), 2)) << "hover face";

    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    ASSERT_EQ(seenByPlatform.size(), 1u);
    EXPECT_TRUE(nearColour(boxTopOf(seenByPlatform[0]), expectedBoxTop(c, kFacePressed), 2)) << "pressed face at once";
    EXPECT_EQ(getSkinProp(c, prop::mouseDown), 1);
    EXPECT_FALSE(comboHoverFlag);

    EXPECT_EQ(runTimers(c, 40), 1) << "one repaint, then the timer is stopped";
    EXPECT_TRUE(nearColour(boxTop(c), expectedBoxTop(c, kFaceNormal), 2)) << "normal face while held";

    SendMessageA(c, WM_LBUTTONUP, 0, onButton);
    ASSERT_EQ(seenByPlatform.size(), 2u);
    EXPECT_TRUE(nearColour(boxTopOf(seenByPlatform[1]), expectedBoxTop(c, kFaceNormal), 2))
        << "no repaint at the release itself";
    EXPECT_EQ(getSkinProp(c, prop::mouseDown), 0);
    EXPECT_EQ(runTimers(c, 40), 1);
    EXPECT_TRUE(nearColour(boxTop(c), expectedBoxTop(c, kFaceHover), 2)) << "hover face 5 ms after the release";

    SendMessageA(c, CB_SHOWDROPDOWN, FALSE, 0);
    SendMessageA(c, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(getSkinProp(c, prop::mouseInside), 0);
    runTimers(c, 20);
    EXPECT_TRUE(nearColour(boxTop(c), expectedBoxTop(c, kFaceNormal), 2));
}

TEST_F(ComboTest, PlatformPaintIsFollowedByTheDecoration) {
    HWND c = combo(CBS_DROPDOWN);
    UpdateWindow(parent);
    runTimers(c, 20);
    RECT r;
    GetClientRect(c, &r);
    InvalidateRect(c, nullptr, TRUE);
    UpdateWindow(c);
    EXPECT_FALSE(sameColour(ctltest::clientPixels(c).at(r.right / 2, 0), palette->lineColor))
        << "the platform's drawing first";
    EXPECT_EQ(runTimers(c, 40), 1);
    EXPECT_TRUE(sameColour(ctltest::clientPixels(c).at(r.right / 2, 0), palette->lineColor)) << "then the frame";
    EXPECT_TRUE(nearColour(boxTop(c), expectedBoxTop(c, kFaceNormal), 2));
}

TEST_F(ComboTest, TextReadsRepaintAndFreeTheHoverFlag) {
    HWND a = combo(CBS_DROPDOWNLIST, 500, 10);
    HWND b = combo(CBS_DROPDOWNLIST, 501, 140);
    UpdateWindow(parent);
    SendMessageA(a, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(getSkinProp(b, prop::mouseInside), 0) << "b waits while a shows its hover face";
    char text[32];
    GetWindowTextA(a, text, sizeof(text));
    EXPECT_FALSE(comboHoverFlag);
    EXPECT_TRUE(nearColour(boxTop(a), expectedBoxTop(a, kFaceHover), 2)) << "pointer still inside: hover face";
    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(getSkinProp(b, prop::mouseInside), 1);
}

}  // namespace
