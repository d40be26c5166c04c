// Check boxes and radio buttons: the label layout, the glyphs by their pixels, and the check state
// kept by the skin, driven by real messages.
#include "controls_fixture.h"

using ctltest::sameColour;
using testpx::Canvas;

namespace {

std::string text(const RECT& r) { return ctltest::rectText(r); }

TEST(LabelLayout, Table) {
    struct Case {
        const char* name;
        LONG style;
        int fontHeight, bytes;
        RECT glyphColumn, text, labelBox;
        UINT format;
    };
    const RECT item{0, 0, 100, 20};
    const Case cases[] = {
        {"left, centred vertically", BS_LEFT | BS_VCENTER, 12, 4, {0, 0, 14, 20}, {15, 1, 100, 20}, {15, 4, 39, 16},
         DT_SINGLELINE | DT_LEFT | DT_VCENTER},
        {"the same with the text on the left", BS_LEFT | BS_VCENTER | BS_LEFTTEXT, 12, 4, {86, 0, 100, 20},
         {0, 1, 85, 20}, {0, 4, 24, 16}, DT_SINGLELINE | DT_LEFT | DT_VCENTER},
        {"no alignment bits", 0, 16, 2, {0, 0, 14, 20}, {15, 0, 100, 20}, {49, 2, 65, 18},
         DT_SINGLELINE | DT_CENTER | DT_VCENTER},
        {"right and bottom", BS_RIGHT | BS_BOTTOM, 12, 4, {0, 0, 14, 20}, {15, 0, 100, 20}, {76, 8, 100, 20},
         DT_SINGLELINE | DT_RIGHT | DT_BOTTOM},
        {"top: the text moves down a pixel", BS_TOP | BS_CENTER, 12, 3, {0, 0, 14, 20}, {15, 1, 100, 20},
         {48, 1, 66, 13}, DT_SINGLELINE | DT_CENTER | DT_TOP},
        // A label wider than its rectangle: the centring floors (15 + floor(-2.5) = 12).
        {"label wider than the control", BS_CENTER, 12, 15, {0, 0, 14, 20}, {15, 0, 100, 20}, {12, 4, 102, 16},
         DT_SINGLELINE | DT_CENTER | DT_VCENTER},
        {"half-pixel estimate", BS_RIGHT, 13, 3, {0, 0, 14, 20}, {15, 0, 100, 20}, {80, 3, 99, 16},
         DT_SINGLELINE | DT_RIGHT | DT_VCENTER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LabelLayout layout = labelLayout(item, c.style, c.fontHeight, c.bytes);
        EXPECT_EQ(text(layout.glyphColumn), text(c.glyphColumn));
        EXPECT_EQ(text(layout.text), text(c.text));
        EXPECT_EQ(text(layout.labelBox), text(c.labelBox));
        EXPECT_EQ(layout.format, c.format);
    }
    const LabelLayout layout = labelLayout(item, BS_LEFT | BS_VCENTER, 12, 4);
    EXPECT_EQ(text(checkGlyphRect(layout)), text({0, 3, 14, 17}));
    EXPECT_EQ(text(radioGlyphRect(layout)), text({0, 3, 14, 17}));
    EXPECT_EQ(text(radioDotRect(layout)), text({0, 4, 14, 16}));
}

class ToggleTest : public testing::Test {
protected:
    void SetUp() override {
        palette = &ctltest::defaultPalette();
        parent = ctltest::createTestParent();
    }
    HWND control(DWORD style, const char* label, RECT place, int id, bool checkedBefore = false) {
        HWND c = ctltest::createControl(parent, "Button", label, style, place, id);
        if (checkedBefore) SendMessageA(c, BM_SETCHECK, BST_CHECKED, 0);
        const DWORD type = style & 0xF;
        if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) attachCheckBox(c);
        else attachRadioButton(c);
        return c;
    }
    int fontHeight(HWND c) {
        HDC dc = GetDC(c);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(c, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        return metrics.tmHeight;
    }
    static int closest(const Canvas& canvas, RECT area, COLORREF colour) {
        int best = 255;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                best = std::min(best, ctltest::channelDistance(canvas.at(x, y), colour));
        return best;
    }
    SkinPalette* palette = nullptr;
    HWND parent = nullptr;
};

TEST_F(ToggleTest, CheckBoxGlyphsFollowStateAndEnabling) {
    HWND set = control(BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER, "保存", {10, 10, 110, 30}, 1, true);
    HWND clear = control(BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER, "保存", {10, 40, 110, 60}, 2);
    const RECT column{0, 0, 14, 20};
    Canvas setNormal(100, 20), clearNormal(100, 20), setDisabled(100, 20), clearDisabled(100, 20);
    paintCheckBox(ctltest::recordFor(set, setNormal.dc, 0));
    paintCheckBox(ctltest::recordFor(clear, clearNormal.dc, 0));
    paintCheckBox(ctltest::recordFor(set, setDisabled.dc, 4));
    paintCheckBox(ctltest::recordFor(clear, clearDisabled.dc, 4));

    EXPECT_EQ(closest(setNormal, column, palette->markColor), 0) << "a green tick";
    EXPECT_GT(closest(clearNormal, column, palette->markColor), 60) << "no tick";
    EXPECT_LT(closest(clearNormal, column, palette->lineColor), closest(clearNormal, column, palette->faceEnd[3]))
        << "a blue box";
    EXPECT_LT(closest(clearDisabled, column, palette->faceEnd[3]), closest(clearDisabled, column, palette->lineColor))
        << "a grey box";
    // Disabled: everything grey, the tick too.
    EXPECT_GT(closest(setDisabled, column, palette->markColor), 60);
    EXPECT_GT(closest(setDisabled, column, palette->lineColor), 60);
    EXPECT_GT(closest(setDisabled, {15, 0, 100, 20}, palette->textColor), 60);
    EXPECT_LE(closest(setDisabled, {15, 0, 100, 20}, palette->faceEnd[3]), 4);
    const RECT tick = ctltest::inkBox(column, [&](int x, int y) { return setDisabled.at(x, y) != clearDisabled.at(x, y); });
    ASSERT_GT(tick.right, tick.left) << "a disabled set box still shows its tick";
    EXPECT_LE(closest(setDisabled, tick, palette->faceEnd[3]), 4) << "in grey";
    // Everything outside the glyph rectangle and the label is background.
    EXPECT_TRUE(sameColour(setNormal.at(7, 1), palette->windowColor));
    EXPECT_TRUE(sameColour(setNormal.at(90, 10), palette->windowColor));
}

TEST_F(ToggleTest, LeftTextPutsTheGlyphsOnTheRight) {
    HWND c = control(BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER | BS_LEFTTEXT, "保存", {10, 10, 110, 30}, 1, true);
    Canvas canvas(100, 20);
    paintCheckBox(ctltest::recordFor(c, canvas.dc, 0));
    const RECT green = ctltest::inkBox({0, 0, 100, 20}, [&](int x, int y) { return canvas.at(x, y) == palette->markColor; });
    EXPECT_GE(green.left, 86);
    const RECT label = ctltest::inkBox({0, 0, 86, 20}, [&](int x, int y) { return canvas.at(x, y) != palette->windowColor; });
    EXPECT_LE(label.left, 2) << "the label starts at the left edge";
}

TEST_F(ToggleTest, FocusRectangleIsTheLabelBox) {
    HWND c = control(BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER, "保存", {10, 10, 110, 30}, 1);
    Canvas without(100, 20), with(100, 20);
    paintCheckBox(ctltest::recordFor(c, without.dc, 0));
    setSkinProp(c, prop::focus, 1);
    paintCheckBox(ctltest::recordFor(c, with.dc, 0));
    const LabelLayout layout = labelLayout({0, 0, 100, 20}, BS_LEFT | BS_VCENTER, fontHeight(c), 4);
    const RECT dotted = ctltest::inkBox({0, 0, 100, 20}, [&](int x, int y) { return with.at(x, y) != without.at(x, y); });
    EXPECT_EQ(text(dotted), text(layout.labelBox));
}

TEST_F(ToggleTest, RadioRingDotAndDisabledProtection) {
    HWND r = control(BS_AUTORADIOBUTTON | BS_LEFT | BS_VCENTER, "保存", {10, 10, 110, 30}, 1, true);
    const LabelLayout layout = labelLayout({0, 0, 100, 20}, BS_LEFT | BS_VCENTER, fontHeight(r), 4);
    const RECT ring = radioGlyphRect(layout);
    const int middle = (ring.left + ring.right) / 2 - 1;

    Canvas enabled(100, 20);
    paintRadioButton(ctltest::recordFor(r, enabled.dc, 0));
    EXPECT_TRUE(sameColour(enabled.at(middle, ring.top), blend(1.0f, palette->windowColor, palette->lineColor)))
        << "round frame on the ring's top row";
    EXPECT_EQ(closest(enabled, radioDotRect(layout), palette->markColor), 0) << "a green dot";
    EXPECT_EQ(getSkinProp(r, prop::checked), 1) << "painting enabled keeps the state";

    Canvas disabled(100, 20);
    paintRadioButton(ctltest::recordFor(r, disabled.dc, 4));
    EXPECT_TRUE(sameColour(disabled.at(middle, ring.top), blend(1.0f, palette->windowColor, palette->faceEnd[3])));
    EXPECT_GT(closest(disabled, {0, 0, 14, 20}, palette->markColor), 60);
    EXPECT_EQ(getSkinProp(r, prop::checked), 3) << "set and painted disabled: protected";
    EXPECT_EQ(SendMessageA(r, BM_GETCHECK, 0, 0), 3);

    Canvas again(100, 20);
    paintRadioButton(ctltest::recordFor(r, again.dc, 0));
    EXPECT_EQ(closest(again, radioDotRect(layout), palette->markColor), 0) << "state 3 drawn set, in green";
    EXPECT_EQ(getSkinProp(r, prop::checked), 3);
}

TEST_F(ToggleTest, AttachTakesThePlatformStateAndMakesTheControlOwnerDrawn) {
    HWND set = control(BS_AUTOCHECKBOX | BS_LEFT, "a", {10, 10, 110, 30}, 1, true);
    HWND clear = control(BS_CHECKBOX, "b", {10, 40, 110, 60}, 2);
    HWND radio = control(BS_RADIOBUTTON, "c", {10, 70, 110, 90}, 3, true);
    HWND sameId = control(BS_AUTOCHECKBOX, "d", {10, 100, 110, 120}, 1, true);  // an id used twice
    EXPECT_EQ(getSkinProp(set, prop::checked), 1);
    EXPECT_EQ(getSkinProp(clear, prop::checked), 0);
    EXPECT_EQ(getSkinProp(radio, prop::checked), 1);
    EXPECT_EQ(getSkinProp(sameId, prop::checked), 1);
    EXPECT_EQ(getSkinProp(set, prop::buttonKind), kCheckBox);
    EXPECT_EQ(getSkinProp(radio, prop::buttonKind), kRadioButton);
    EXPECT_EQ(GetWindowLongA(set, GWL_STYLE) & 0xF, BS_OWNERDRAW);
    EXPECT_EQ(GetWindowLongA(set, GWL_STYLE) & BS_LEFT, BS_LEFT);
    EXPECT_EQ(GetWindowLongPtrA(radio, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&radioButtonProc));
    EXPECT_EQ(GetPropA(set, prop::focus), nullptr) << "no focus property at attachment";
}

TEST_F(ToggleTest, CheckBoxTogglesOnButtonDownAndOnSpace) {
    HWND c = control(BS_AUTOCHECKBOX, "保存", {10, 10, 110, 30}, 7);
    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), 1) << "set as the button goes down";
    SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), 1);
    ASSERT_EQ(ctltest::parentLog().clicks.size(), 1u) << "the click still reaches the parent";
    EXPECT_EQ(ctltest::parentLog().clicks[0], 7);

    SendMessageA(c, WM_CHAR, ' ', 0);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), 0);
    SendMessageA(c, WM_CHAR, 'x', 0);
    SendMessageA(c, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), 0) << "other keys and the double-click message do not toggle";
    SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(ToggleTest, SetCheckRepaintsWithoutChangingTheState) {
    HWND c = control(BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER, "保存", {10, 10, 110, 30}, 1);
    UpdateWindow(parent);
    HDC dc = GetDC(c);
    RECT all{0, 0, 100, 20};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(c, dc);
    SendMessageA(c, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), 0);
    const testpx::Capture after = ctltest::clientPixels(c);
    EXPECT_TRUE(sameColour(after.at(90, 2), palette->windowColor)) << "repainted";
    int green = 255;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 14; ++x) green = std::min(green, ctltest::channelDistance(after.at(x, y), palette->markColor));
    EXPECT_GT(green, 60) << "still drawn clear";
}

TEST_F(ToggleTest, RadioButtonsOfOneParentFormOneGroup) {
    // Two group boxes, two radio buttons in each, all children of the same parent.
    ctltest::createControl(parent, "Button", "A", BS_GROUPBOX, {5, 5, 150, 100}, 50);
    HWND a1 = control(BS_AUTORADIOBUTTON | WS_GROUP, "a1", {10, 20, 140, 40}, 1, true);
    HWND a2 = control(BS_AUTORADIOBUTTON, "a2", {10, 50, 140, 70}, 2);
    ctltest::createControl(parent, "Button", "B", BS_GROUPBOX | WS_GROUP, {160, 5, 300, 100}, 51);
    HWND b1 = control(BS_AUTORADIOBUTTON | WS_GROUP, "b1", {165, 20, 295, 40}, 3);
    HWND b2 = control(BS_RADIOBUTTON, "b2", {165, 50, 295, 70}, 4, true);
    HWND check = control(BS_AUTOCHECKBOX, "c", {10, 110, 140, 130}, 5, true);
    auto states = [&] {
        std::string s;
        for (HWND w : {a1, a2, b1, b2}) s += std::to_string(SendMessageA(w, BM_GETCHECK, 0, 0));
        return s;
    };
    EXPECT_EQ(states(), "1001");
    SendMessageA(b1, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(b1, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(states(), "0010") << "the other group box's buttons are cleared too";
    SendMessageA(a2, WM_CHAR, ' ', 0);
    EXPECT_EQ(states(), "0100");
    SendMessageA(a2, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(a2, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(states(), "0100") << "clicking the set one keeps it set";
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), 1) << "check boxes are no part of the group";
}

TEST_F(ToggleTest, DisabledSetRadioKeepsItsDotThroughTheGroup) {
    HWND a = control(BS_AUTORADIOBUTTON, "a", {10, 10, 110, 30}, 1);
    HWND locked = control(BS_AUTORADIOBUTTON | WS_DISABLED, "b", {10, 40, 110, 60}, 2, true);
    UpdateWindow(parent);  // the platform asks for the disabled look: state 3
    EXPECT_EQ(SendMessageA(locked, BM_GETCHECK, 0, 0), 3);
    SendMessageA(a, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(a, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), 1);
    EXPECT_EQ(SendMessageA(locked, BM_GETCHECK, 0, 0), 3);
}

TEST_F(ToggleTest, SetCheckOnADisabledControlKeepsTheDisabledLook) {
    HWND c = control(BS_AUTOCHECKBOX | WS_DISABLED | BS_LEFT | BS_VCENTER, "保存", {10, 10, 110, 30}, 1, true);
    UpdateWindow(parent);
    SendMessageA(c, BM_SETCHECK, BST_CHECKED, 0);
    const testpx::Capture after = ctltest::clientPixels(c);
    int green = 255, blue = 255;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 14; ++x) {
            green = std::min(green, ctltest::channelDistance(after.at(x, y), palette->markColor));
            blue = std::min(blue, ctltest::channelDistance(after.at(x, y), palette->lineColor));
        }
    EXPECT_GT(green, 60);
    EXPECT_GT(blue, 60);
}

}  // namespace
