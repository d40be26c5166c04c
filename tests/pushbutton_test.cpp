// Push buttons: the face by its pixels, the face choice, the marks, the label, and the procedure
// driven by real messages.
#include <string>

#include "controls_fixture.h"

using ctltest::nearColour;
using ctltest::sameColour;
using testpx::Canvas;

namespace {

class PushButtonTest : public testing::Test {
protected:
    void SetUp() override {
        palette = &ctltest::defaultPalette();
        parent = ctltest::createTestParent();
        pushHoverFlag = false;
    }
    HWND button(const char* text, DWORD style = BS_PUSHBUTTON, int w = 96, int h = 24, int id = 100) {
        HWND b = ctltest::createControl(parent, "Button", text, style, {10, 10, 10 + w, 10 + h}, id);
        attachPushButton(b);
        return b;
    }
    // Paints `b` into a fresh canvas in the given state.
    void paint(HWND b, Canvas& canvas, UINT itemState) {
        paintPushButton(ctltest::recordFor(b, canvas.dc, itemState));
    }
    SkinPalette* palette = nullptr;
    HWND parent = nullptr;
};

TEST_F(PushButtonTest, FaceOf96By24HasTwoBandsInsideTheOutline) {
    HWND b = button("");
    Canvas canvas(96, 24, RGB(1, 2, 3));
    paint(b, canvas, 0);
    const COLORREF S = palette->faceStart[0], E = palette->faceEnd[0];
    const COLORREF upperEnd = blend(0.88f, E, S), lowerStart = blend(0.8f, E, S);
    for (int x : {1, 40, 94}) {
        EXPECT_TRUE(sameColour(canvas.at(x, 1), S)) << "top row, column " << x;
        EXPECT_TRUE(nearColour(canvas.at(x, 11), ctltest::gradientAt(S, upperEnd, 1, 12, 11), 2)) << "upper band ends";
        EXPECT_TRUE(sameColour(canvas.at(x, 12), lowerStart)) << "first row of the lower band";
        EXPECT_TRUE(nearColour(canvas.at(x, 22), ctltest::gradientAt(lowerStart, E, 12, 23, 22), 2)) << "lower band ends";
    }
    // (158, 208, 212) above the middle, (144, 189, 192) below it, with the default colours.
    EXPECT_TRUE(nearColour(canvas.at(40, 11), RGB(158, 208, 212), 6));
    EXPECT_TRUE(sameColour(canvas.at(40, 12), RGB(144, 189, 192)));
    for (int y : {1, 12, 22}) {
        EXPECT_TRUE(sameColour(canvas.at(0, y), palette->lineColor)) << "left outline, row " << y;
        EXPECT_TRUE(sameColour(canvas.at(95, y), palette->lineColor)) << "right outline, row " << y;
    }
    for (int x : {1, 48, 94}) {
        EXPECT_TRUE(sameColour(canvas.at(x, 0), palette->lineColor));
        EXPECT_TRUE(sameColour(canvas.at(x, 23), palette->lineColor));
    }
    // The 2 × 2 corner ellipse takes the corner pixels off the outline: they show the background.
    for (const POINT p : {POINT{0, 0}, POINT{95, 0}, POINT{0, 23}, POINT{95, 23}})
        EXPECT_TRUE(sameColour(canvas.at(p.x, p.y), palette->windowColor)) << p.x << "," << p.y;
}

TEST_F(PushButtonTest, OddHeightPutsTheExtraRowInTheLowerBand) {
    HWND b = button("", BS_PUSHBUTTON, 96, 25);
    Canvas canvas(96, 25);
    paint(b, canvas, 0);
    const COLORREF S = palette->faceStart[0], E = palette->faceEnd[0];
    EXPECT_TRUE(nearColour(canvas.at(30, 11), ctltest::gradientAt(S, blend(0.88f, E, S), 1, 12, 11), 2));
    EXPECT_TRUE(sameColour(canvas.at(30, 12), blend(0.8f, E, S)));
    EXPECT_TRUE(nearColour(canvas.at(30, 23), ctltest::gradientAt(blend(0.8f, E, S), E, 12, 24, 23), 2));
    EXPECT_TRUE(sameColour(canvas.at(30, 24), palette->lineColor));
}

// The face follows the whole itemState value first and the pointer properties after it.
TEST_F(PushButtonTest, FaceChoiceByWholeItemState) {
    struct Case {
        UINT itemState;
        int inside, down;
        int face;
        bool disabledOutline;
    };
    const Case cases[] = {
        {0x11, 0, 0, kFacePressed, false}, {0x01, 0, 0, kFaceHover, false},   {0x10, 1, 0, kFaceHover, false},
        {0x10, 1, 1, kFaceNormal, false},  {0x10, 0, 0, kFaceNormal, false},  {0x04, 1, 0, kFaceDisabled, true},
        {0x06, 1, 0, kFaceHover, false},   {0x06, 0, 0, kFaceNormal, false},  {0x110, 1, 0, kFaceHover, false},
        {0x14, 1, 1, kFaceNormal, false},
    };
    HWND b = button("");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "itemState 0x" << std::hex << c.itemState << " inside " << c.inside
                                        << " down " << c.down);
        setSkinProp(b, prop::mouseInside, c.inside);
        setSkinProp(b, prop::mouseDown, c.down);
        Canvas canvas(96, 24);
        paint(b, canvas, c.itemState);
        const COLORREF S = palette->faceStart[c.face], E = palette->faceEnd[c.face];
        EXPECT_TRUE(sameColour(canvas.at(20, 1), S));
        EXPECT_TRUE(nearColour(canvas.at(20, 22), ctltest::gradientAt(blend(0.8f, E, S), E, 12, 23, 22), 2));
        EXPECT_TRUE(sameColour(canvas.at(0, 12), c.disabledOutline ? palette->faceEnd[3] : palette->lineColor));
    }
}

TEST_F(PushButtonTest, DefaultMarkInEveryStateAndOnlyOnTheDefaultButton) {
    HWND plain = button("", BS_PUSHBUTTON, 96, 24, 100);
    HWND def = button("", BS_DEFPUSHBUTTON, 96, 24, 101);
    EXPECT_EQ(getSkinProp(def, prop::defaultButton), 1);
    EXPECT_EQ(getSkinProp(plain, prop::defaultButton), 0);
    // A later style change does not move the mark: it was decided at attachment.
    SetWindowLongA(plain, GWL_STYLE, GetWindowLongA(plain, GWL_STYLE) | BS_DEFPUSHBUTTON);
    for (UINT state : {0u, 1u, 4u, 0x11u, 0x10u}) {
        SCOPED_TRACE(testing::Message() << "itemState " << state);
        Canvas withMark(96, 24), without(96, 24);
        paint(def, withMark, state);
        paint(plain, without, state);
        EXPECT_TRUE(sameColour(withMark.at(94, 2), palette->lineColor));
        EXPECT_TRUE(sameColour(withMark.at(94, 21), palette->lineColor));
        EXPECT_TRUE(sameColour(withMark.at(2, 22), palette->lineColor));
        EXPECT_TRUE(sameColour(withMark.at(93, 22), palette->lineColor));
        // End points are not drawn: the corner pixel and the pixels beyond keep the face.
        EXPECT_FALSE(sameColour(withMark.at(94, 22), palette->lineColor));
        EXPECT_FALSE(sameColour(withMark.at(1, 22), palette->lineColor));
        EXPECT_FALSE(sameColour(without.at(94, 10), palette->lineColor));
        EXPECT_FALSE(sameColour(without.at(40, 22), palette->lineColor));
    }
}

TEST_F(PushButtonTest, FocusFrameLiesTwoPixelsInside) {
    HWND b = button("");
    setSkinProp(b, prop::focus, 1);
    Canvas canvas(96, 24);
    paint(b, canvas, 0);
    EXPECT_TRUE(sameColour(canvas.at(2, 10), palette->lineColor));
    EXPECT_TRUE(sameColour(canvas.at(93, 10), palette->lineColor));
    EXPECT_TRUE(sameColour(canvas.at(40, 2), palette->lineColor));
    EXPECT_TRUE(sameColour(canvas.at(40, 21), palette->lineColor));
    EXPECT_FALSE(sameColour(canvas.at(1, 10), palette->lineColor)) << "one pixel of face between frame and outline";
    EXPECT_FALSE(sameColour(canvas.at(3, 10), palette->lineColor));
}

// The label's ink: the pixels that differ from the same button painted without its text.
class PushButtonLabelTest : public PushButtonTest {
protected:
    RECT ink(HWND b, UINT state = 0, int w = 96, int h = 24) {
        Canvas withText(w, h), blank(w, h);
        paint(b, withText, state);
        const std::string text = controlTextOf(b);
        SetWindowTextA(b, "");
        paint(b, blank, state);
        SetWindowTextA(b, text.c_str());
        return ctltest::inkBox({1, 1, w - 1, h - 1},
                               [&](int x, int y) { return withText.at(x, y) != blank.at(x, y); });
    }
    static std::string controlTextOf(HWND b) {
        char text[64] = {};
        GetWindowTextA(b, text, sizeof(text));
        return text;
    }
};

TEST_F(PushButtonLabelTest, AlignmentBitsPlaceTheLabel) {
    const RECT left = ink(button("Ab", BS_LEFT));
    const RECT right = ink(button("Ab", BS_RIGHT));
    const RECT centre = ink(button("Ab", BS_CENTER));  // both the BS_LEFT and the BS_RIGHT bit
    const RECT plain = ink(button("Ab"));
    ASSERT_GT(left.right, left.left);
    EXPECT_GE(left.left, 4);
    EXPECT_LE(left.left, 6) << "text starts four pixels inside the face";
    EXPECT_LE(right.right, 92);
    EXPECT_GE(right.right, 90);
    EXPECT_NEAR(centre.left + centre.right, 96, 3) << "BS_CENTER centres";
    EXPECT_EQ(centre.left, plain.left);

    const RECT top = ink(button("Ab", BS_TOP, 96, 40), 0, 96, 40);
    const RECT bottom = ink(button("Ab", BS_BOTTOM, 96, 40), 0, 96, 40);
    const RECT middle = ink(button("Ab", BS_VCENTER, 96, 40), 0, 96, 40);
    EXPECT_LT(top.top, middle.top);
    EXPECT_GT(bottom.bottom, middle.bottom);
    EXPECT_LE(bottom.bottom, 36);
    EXPECT_GE(top.top, 4);
}

TEST_F(PushButtonLabelTest, PressedLabelMovesOnePixelRightAndDown) {
    HWND b = button("Ab");
    const RECT normal = ink(b, 0x10);
    const RECT pressed = ink(b, 0x11);
    EXPECT_EQ(pressed.left, normal.left + 1);
    EXPECT_EQ(pressed.top, normal.top + 1);
}

TEST_F(PushButtonLabelTest, AmpersandUnderlinesInsteadOfDrawing) {
    const RECT withPrefix = ink(button("&S", BS_LEFT));
    const RECT plain = ink(button("S", BS_LEFT));
    const RECT doubled = ink(button("&&", BS_LEFT));
    const RECT single = ink(button("&", BS_LEFT));
    EXPECT_EQ(withPrefix.left, plain.left) << "no ampersand drawn before the S";
    EXPECT_GT(withPrefix.bottom, plain.bottom) << "the S is underlined";
    EXPECT_EQ(doubled.right - doubled.left, single.right - single.left) << "two ampersands draw one";
}

TEST_F(PushButtonLabelTest, LabelColourAndTheButtonsOwnFont) {
    HWND b = button("保存");
    Canvas normal(96, 24), disabled(96, 24);
    paint(b, normal, 0);
    paint(b, disabled, 4);
    // Text may be smoothed: the darkest ink pixel carries the text colour.
    auto closest = [](const Canvas& c, COLORREF colour) {
        int best = 255;
        for (int y = 4; y < 20; ++y)
            for (int x = 4; x < 92; ++x) best = std::min(best, ctltest::channelDistance(c.at(x, y), colour));
        return best;
    };
    EXPECT_LE(closest(normal, palette->textColor), 4);
    EXPECT_LE(closest(disabled, palette->faceEnd[3]), 4);
    EXPECT_GT(closest(disabled, palette->textColor), 30);

    // A larger font of the button's own makes a taller label.
    const RECT small = ink(b);
    HFONT big = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
    const RECT large = ink(b);
    EXPECT_GT(large.bottom - large.top, small.bottom - small.top + 2);
    SendMessageA(b, WM_SETFONT, 0, FALSE);
    DeleteObject(big);
}

TEST_F(PushButtonTest, MagentaInTheFaceLetsTheTargetShowThrough) {
    palette->faceStart[0] = RGB(255, 0, 255);
    HWND b = button("");
    Canvas canvas(96, 24, RGB(9, 8, 7));
    paint(b, canvas, 0);
    EXPECT_TRUE(sameColour(canvas.at(30, 1), RGB(9, 8, 7)));
    EXPECT_FALSE(sameColour(canvas.at(30, 20), RGB(9, 8, 7)));
}

TEST_F(PushButtonTest, AttachMakesTheButtonOwnerDrawnAndFocusesTheDefault) {
    HWND plain = button("a", BS_PUSHBUTTON | BS_LEFT, 96, 24, 100);
    EXPECT_EQ(GetWindowLongA(plain, GWL_STYLE) & 0xF, BS_OWNERDRAW);
    EXPECT_EQ(GetWindowLongA(plain, GWL_STYLE) & BS_LEFT, BS_LEFT) << "other style bits kept";
    EXPECT_EQ(getSkinProp(plain, prop::buttonKind), kPushButton);
    EXPECT_EQ(getSkinProp(plain, prop::focus), 0);
    EXPECT_EQ(GetWindowLongPtrA(plain, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&pushButtonProc));

    SetForegroundWindow(parent);
    HWND def = button("b", BS_DEFPUSHBUTTON, 96, 24, 101);
    EXPECT_EQ(GetFocus(), def);
    EXPECT_EQ(getSkinProp(def, prop::focus), 1);
    SetFocus(plain);
    EXPECT_EQ(getSkinProp(def, prop::focus), 0);
    EXPECT_EQ(getSkinProp(plain, prop::focus), 1);
}

// Pointer messages: the hover face, the shared flag, the press and the click reaching the parent.
// Paints are read back from the button itself, between messages, without running the message loop.
TEST_F(PushButtonTest, HoverPressReleaseAndLeave) {
    HWND a = button("A", BS_PUSHBUTTON, 96, 24, 100);
    HWND b = ctltest::createControl(parent, "Button", "B", BS_PUSHBUTTON, {120, 10, 216, 34}, 101);
    attachPushButton(b);
    UpdateWindow(parent);
    auto topFace = [a] { return ctltest::clientPixels(a).at(20, 1); };

    SendMessageA(a, WM_MOUSEMOVE, 0, MAKELPARAM(30, 5));
    EXPECT_TRUE(pushHoverFlag);
    EXPECT_EQ(getSkinProp(a, prop::mouseInside), 1);
    EXPECT_TRUE(sameColour(topFace(), palette->faceStart[kFaceHover]));

    // While a's hover face stands, b paints no hover face.
    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(30, 5));
    EXPECT_EQ(getSkinProp(b, prop::mouseInside), 0);

    SendMessageA(a, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 5));
    UpdateWindow(a);
    EXPECT_EQ(getSkinProp(a, prop::mouseDown), 1);
    EXPECT_TRUE(sameColour(topFace(), palette->faceStart[kFacePressed]));
    SendMessageA(a, WM_LBUTTONUP, 0, MAKELPARAM(30, 5));
    UpdateWindow(a);
    EXPECT_EQ(getSkinProp(a, prop::mouseDown), 0);
    ASSERT_EQ(ctltest::parentLog().clicks.size(), 1u);
    EXPECT_EQ(ctltest::parentLog().clicks[0], 100);
    EXPECT_TRUE(sameColour(topFace(), palette->faceStart[kFaceHover]))
        << "focused and released with the pointer inside: hover face";

    SendMessageA(a, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(pushHoverFlag);
    EXPECT_EQ(getSkinProp(a, prop::mouseInside), 0);
    EXPECT_TRUE(sameColour(topFace(), palette->faceStart[kFaceNormal]));

    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(30, 5));
    EXPECT_EQ(getSkinProp(b, prop::mouseInside), 1);
    SendMessageA(b, WM_MOUSELEAVE, 0, 0);
}

TEST_F(PushButtonTest, PointerLeavingTheButtonBringsTheLeaveNotification) {
    HWND a = button("A");
    testpx::pumpMessages(30);
    POINT inside{30, 5};
    ClientToScreen(a, &inside);
    SetCursorPos(inside.x, inside.y);
    SendMessageA(a, WM_MOUSEMOVE, 0, MAKELPARAM(30, 5));
    testpx::pumpMessages(30);
    EXPECT_EQ(getSkinProp(a, prop::mouseInside), 1);
    SetCursorPos(inside.x + 300, inside.y + 200);
    EXPECT_TRUE(ctltest::pumpUntil([a] { return getSkinProp(a, prop::mouseInside) == 0; }));
    EXPECT_FALSE(pushHoverFlag);
}

}  // namespace
