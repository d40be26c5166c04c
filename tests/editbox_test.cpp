// Edit boxes: the border thickness rule, and the rings painted over real edit controls.
#include "controls_fixture.h"

using ctltest::sameColour;

namespace {

TEST(EditBorder, ScrollBarKindAndThickness) {
    struct KindCase {
        LONG style;
        int kind;
    } const kinds[] = {
        {WS_HSCROLL | ES_AUTOHSCROLL, 1}, {WS_VSCROLL, 2}, {WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL, 3},
        {WS_VSCROLL | ES_AUTOHSCROLL, 0}, {WS_HSCROLL, 0},  {WS_HSCROLL | WS_VSCROLL, 0},
        {ES_AUTOHSCROLL, 0},              {0, 0},
    };
    for (const KindCase& c : kinds) EXPECT_EQ(scrollBarKindOfStyle(c.style | WS_CHILD | ES_MULTILINE), c.kind) << std::hex << c.style;

    struct BorderCase {
        int W, H, cw, ch, v, h, bx, by;
    } const borders[] = {
        {100, 24, 96, 20, 0, 0, 2, 2},   // two-pixel sunken edge
        {100, 24, 98, 22, 0, 0, 1, 1},   // plain one-pixel border
        {100, 24, 100, 24, 0, 0, 0, 0},  // no border
        {100, 24, 95, 19, 0, 0, 2, 2},   // odd difference: truncated
        {100, 60, 79, 56, 0, 0, 10, 2},  // a vertical scroll bar of kind 0 counts as border
        {100, 60, 79, 56, 17, 0, 2, 2},  // the same bar allowed for
    };
    for (const BorderCase& c : borders) {
        const EditBorder b = editBorder(c.W, c.H, c.cw, c.ch, c.v, c.h);
        EXPECT_EQ(b.bx, c.bx);
        EXPECT_EQ(b.by, c.by);
    }
}

class EditTest : public testing::Test {
protected:
    void SetUp() override {
        palette = &ctltest::defaultPalette();
        parent = ctltest::createTestParent();
    }
    HWND edit(DWORD style, DWORD exStyle, int h = 24) {
        HWND e = ctltest::createControl(parent, "Edit", "编辑 edit", style, {10, 10, 110, 10 + h}, 400, exStyle);
        attachEditBox(e);
        return e;
    }
    // The whole window after its border was blackened and painted again by the skin alone.
    static testpx::Capture skinnedBorder(HWND e) {
        RECT r;
        GetWindowRect(e, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        HDC dc = GetWindowDC(e);
        RECT all{0, 0, w, h};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(e, dc);
        paintEditFrame(e);
        return windowPixels(e);
    }
    static testpx::Capture windowPixels(HWND e) {
        RECT r;
        GetWindowRect(e, &r);
        testpx::Capture capture;
        capture.width = r.right - r.left;
        capture.height = r.bottom - r.top;
        testpx::Canvas canvas(capture.width, capture.height);
        HDC dc = GetWindowDC(e);
        BitBlt(canvas.dc, 0, 0, capture.width, capture.height, dc, 0, 0, SRCCOPY);
        ReleaseDC(e, dc);
        GdiFlush();
        capture.pixels.assign(canvas.bits, canvas.bits + static_cast<size_t>(capture.width) * capture.height);
        for (auto& p : capture.pixels) p &= 0xFFFFFF;
        return capture;
    }
    static COLORREF editColour() { return blend(1.0f, skinPalette->windowColor, RGB(255, 255, 255)); }
    SkinPalette* palette = nullptr;
    HWND parent = nullptr;
};

TEST_F(EditTest, SunkenEdgeEnabledAndDisabled) {
    HWND e = edit(ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    testpx::Capture px = skinnedBorder(e);
    for (const POINT p : {POINT{0, 12}, POINT{99, 12}, POINT{50, 0}, POINT{50, 23}})
        EXPECT_TRUE(sameColour(px.at(p.x, p.y), GetSysColor(COLOR_BTNFACE))) << "outer ring " << p.x << "," << p.y;
    for (const POINT p : {POINT{1, 12}, POINT{98, 12}, POINT{50, 1}, POINT{50, 22}})
        EXPECT_TRUE(sameColour(px.at(p.x, p.y), palette->lineColor)) << "second ring " << p.x << "," << p.y;
    EXPECT_TRUE(sameColour(px.at(50, 12), RGB(0, 0, 0))) << "the client area is not the border's";

    EnableWindow(e, FALSE);
    px = skinnedBorder(e);
    EXPECT_TRUE(sameColour(px.at(0, 12), palette->windowColor));
    EXPECT_TRUE(sameColour(px.at(50, 23), palette->windowColor));
    EXPECT_TRUE(sameColour(px.at(1, 12), palette->lineColor));
}

TEST_F(EditTest, OnePixelBorderIsOneLineColourRing) {
    // The edit control draws WS_BORDER inside its client area itself; a frame border made by the
    // window manager (as a caller may add later) is what the skin paints over.
    HWND e = edit(ES_AUTOHSCROLL, 0);
    SetWindowLongA(e, GWL_STYLE, GetWindowLongA(e, GWL_STYLE) | WS_BORDER);
    SetWindowPos(e, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RECT c;
    GetClientRect(e, &c);
    ASSERT_EQ(c.right, 98);
    const testpx::Capture px = skinnedBorder(e);
    for (const POINT p : {POINT{0, 0}, POINT{0, 12}, POINT{99, 12}, POINT{50, 0}, POINT{99, 23}})
        EXPECT_TRUE(sameColour(px.at(p.x, p.y), palette->lineColor)) << p.x << "," << p.y;
    EXPECT_TRUE(sameColour(px.at(1, 12), RGB(0, 0, 0)));
}

TEST_F(EditTest, NoBorderPaintsNothing) {
    HWND e = edit(ES_AUTOHSCROLL, 0);
    const testpx::Capture px = skinnedBorder(e);
    for (const POINT p : {POINT{0, 0}, POINT{0, 12}, POINT{99, 23}, POINT{50, 0}})
        EXPECT_TRUE(sameColour(px.at(p.x, p.y), RGB(0, 0, 0)));
}

TEST_F(EditTest, ScrollBarsOfKindZeroCountAsBorder) {
    // WS_VSCROLL with ES_AUTOHSCROLL: kind 0, so bx = (4 + 17) / 2 = 10 wide side strokes.
    HWND v = edit(ES_MULTILINE | WS_VSCROLL | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 60);
    testpx::Capture px = skinnedBorder(v);
    const int bar = GetSystemMetrics(SM_CXVSCROLL), bx = (4 + bar) / 2;
    EXPECT_TRUE(sameColour(px.at(bx - 2, 30), GetSysColor(COLOR_BTNFACE)));
    EXPECT_TRUE(sameColour(px.at(bx - 1, 30), palette->lineColor));
    EXPECT_TRUE(sameColour(px.at(99 - (bx - 2), 30), GetSysColor(COLOR_BTNFACE))) << "over the scroll bar";
    EXPECT_TRUE(sameColour(px.at(50, bx - 1), palette->lineColor)) << "the line's vertical inset is bx too";

    // WS_HSCROLL without ES_AUTOHSCROLL: by grows, bx stays 2; rows beyond bx keep editBrush.
    HWND h = edit(ES_MULTILINE | WS_HSCROLL, WS_EX_CLIENTEDGE, 60);
    px = skinnedBorder(h);
    EXPECT_TRUE(sameColour(px.at(50, 0), GetSysColor(COLOR_BTNFACE)));
    EXPECT_TRUE(sameColour(px.at(50, 1), palette->lineColor));
    EXPECT_TRUE(sameColour(px.at(50, 4), editColour()));
    EXPECT_TRUE(sameColour(px.at(50, 59 - 4), editColour()));

    // Both bars allowed for (kind 3): an ordinary two-pixel border.
    HWND both = edit(ES_MULTILINE | WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 60);
    EXPECT_EQ(editScrollBarKind(both), 3);
    px = skinnedBorder(both);
    EXPECT_TRUE(sameColour(px.at(1, 30), palette->lineColor));
    EXPECT_TRUE(sameColour(px.at(0, 30), GetSysColor(COLOR_BTNFACE)));
}

TEST_F(EditTest, PlatformFramePaintsAreFollowedByTheSkin) {
    HWND e = edit(ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    RedrawWindow(e, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const testpx::Capture px = windowPixels(e);
    EXPECT_TRUE(sameColour(px.at(0, 12), GetSysColor(COLOR_BTNFACE)));
    EXPECT_TRUE(sameColour(px.at(1, 12), palette->lineColor));
}

TEST_F(EditTest, EveryClientPaintCoversTheWholeClientArea) {
    HWND e = edit(ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    UpdateWindow(e);
    HDC dc = GetDC(e);
    SetPixel(dc, 90, 15, RGB(255, 0, 0));
    ReleaseDC(e, dc);
    RECT corner{0, 0, 4, 4};
    InvalidateRect(e, &corner, FALSE);
    UpdateWindow(e);
    EXPECT_FALSE(sameColour(ctltest::clientPixels(e).at(90, 15), RGB(255, 0, 0)));
}

TEST_F(EditTest, EditFieldOfAComboBoxStaysUnskinned) {
    HWND combo = ctltest::createControl(parent, "ComboBox", "", CBS_DROPDOWN, {10, 10, 130, 200}, 401);
    HWND field = FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_NE(field, nullptr);
    const LONG_PTR before = GetWindowLongPtrA(field, GWLP_WNDPROC);
    attachEditBox(field);
    EXPECT_EQ(GetWindowLongPtrA(field, GWLP_WNDPROC), before);
    EXPECT_EQ(GetPropA(field, prop::windowProc), nullptr);

    HWND plain = edit(0, 0);
    EXPECT_EQ(GetWindowLongPtrA(plain, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&editBoxProc));
}

}  // namespace
