// Owner-drawn drop-down buttons and the arrow box: rings, bands, corner pixels, glyph cell; the
// decoration laid on pointer enter and leave and on every text read.
#include "controls_fixture.h"
#include "skin/controlpaint.h"

using ctltest::nearColour;
using ctltest::sameColour;
using testpx::Canvas;

namespace {

TEST(ArrowGlyphCell, ShorterSideUnlessTallerThanWide) {
    struct Case {
        int w, h, height, width;
    } const cases[] = {
        {17, 20, 8, 10},  // 80 × 24 button: taller than wide, sized by the width
        {17, 17, 8, 10},  // 80 × 21: square, sized by the height
        {17, 12, 6, 7},   // 80 × 16
        {17, 16, 8, 9},   // 120 × 20 combo box
    };
    for (const Case& c : cases) {
        const GlyphCell cell = arrowGlyphCell(c.w, c.h);
        EXPECT_EQ(cell.height, c.height) << c.w << " x " << c.h;
        EXPECT_EQ(cell.width, c.width) << c.w << " x " << c.h;
    }
}

TEST(FontFaces, AskedOfThePlatform) {
    EXPECT_TRUE(fontFaceInstalled(songFace));
    EXPECT_FALSE(fontFaceInstalled("Certivex No Such Face"));
}

class DropDownTest : public testing::Test {
protected:
    void SetUp() override {
        palette = &ctltest::defaultPalette();
        parent = ctltest::createTestParent();
        dropDownHoverFlag = false;
    }
    HWND button(int w, int h, int id = 300, int x = 10) {
        HWND b = ctltest::createControl(parent, "Button", "下拉", BS_OWNERDRAW, {x, 10, x + w, 10 + h}, id);
        attachDropDownButton(b);
        return b;
    }
    // Checks the frame and the arrow box of a w × h button painted with face `face`.
    template <class Image>
    void expectDecoration(const Image& image, int w, int h, int face) {
        SCOPED_TRACE(testing::Message() << w << " x " << h << " face " << face);
        const COLORREF line = palette->lineColor, window = palette->windowColor, white = RGB(255, 255, 255);
        for (const POINT p : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}})
            EXPECT_TRUE(sameColour(image.at(p.x, p.y), window)) << "outer corner " << p.x << "," << p.y;
        for (const POINT p : {POINT{30, 0}, POINT{30, h - 1}, POINT{0, h / 2}, POINT{w - 1, h / 2}})
            EXPECT_TRUE(sameColour(image.at(p.x, p.y), line)) << "outline " << p.x << "," << p.y;
        for (const POINT p : {POINT{30, 1}, POINT{30, h - 2}, POINT{1, h / 2}, POINT{w - 2, h / 2}})
            EXPECT_TRUE(sameColour(image.at(p.x, p.y), white)) << "white ring " << p.x << "," << p.y;

        // The box (w - 19, 2)-(w - 2, h - 2): frame on its edges, windowColor corners, two bands.
        const int L = w - 19, T = 2, R = w - 2, B = h - 2, half = (B - T) / 2;
        for (const POINT p : {POINT{L, T}, POINT{R - 1, T}, POINT{L, B - 1}, POINT{R - 1, B - 1}})
            EXPECT_TRUE(sameColour(image.at(p.x, p.y), window)) << "box corner " << p.x << "," << p.y;
        for (const POINT p : {POINT{L, T + half}, POINT{R - 1, T + half}, POINT{L + 3, T}, POINT{L + 3, B - 1}})
            EXPECT_TRUE(sameColour(image.at(p.x, p.y), line)) << "box frame " << p.x << "," << p.y;
        EXPECT_FALSE(sameColour(image.at(L - 1, T + half), line)) << "the box starts at w - 19";
        const COLORREF S = palette->faceStart[face], E = palette->faceEnd[face];
        EXPECT_TRUE(sameColour(image.at(L + 1, T + half), blend(0.8f, E, S))) << "lower band starts at the middle";
        EXPECT_TRUE(nearColour(image.at(L + 1, T + 1), ctltest::gradientAt(S, blend(0.88f, E, S), T, T + half, T + 1), 2))
            << "upper band from S";
        EXPECT_TRUE(nearColour(image.at(L + 1, T + half - 1),
                               ctltest::gradientAt(S, blend(0.88f, E, S), T, T + half, T + half - 1), 2));

        // The downward triangle: text colour, inside the glyph cell, centred in the box, widest on top.
        const GlyphCell cell = arrowGlyphCell(R - L, B - T);
        const RECT ink = ctltest::inkBox({L + 1, T + 1, R - 1, B - 1}, [&](int x, int y) {
            return ctltest::channelDistance(image.at(x, y), palette->textColor) < 40;
        });
        ASSERT_GT(ink.right, ink.left) << "an arrow is drawn";
        EXPECT_LE(ink.right - ink.left, cell.width);
        EXPECT_LE(ink.bottom - ink.top, cell.height);
        EXPECT_LE(std::abs((ink.left + ink.right) - (L + R)), 1) << "centred across";
        EXPECT_LE(std::abs((ink.top + ink.bottom) - (T + B)), 2) << "centred down";
        auto rowWidth = [&](int y) {
            const RECT row = ctltest::inkBox({L + 1, y, R - 1, y + 1}, [&](int x, int yy) {
                return ctltest::channelDistance(image.at(x, yy), palette->textColor) < 40;
            });
            return row.right - row.left;
        };
        EXPECT_GT(rowWidth(ink.top), rowWidth(ink.bottom - 1)) << "points down";
    }
    SkinPalette* palette = nullptr;
    HWND parent = nullptr;
};

TEST_F(DropDownTest, DecorationAtThreeHeights) {
    for (const int h : {24, 21, 16}) {
        HWND b = button(80, h);
        Canvas canvas(80, h, RGB(0, 0, 0));
        paintDropDownButton(ctltest::recordFor(b, canvas.dc, 0));
        expectDecoration(canvas, 80, h, kFaceNormal);
        DestroyWindow(b);
    }
}

TEST_F(DropDownTest, NormalAndHoverColoursOfTheBox) {
    HWND b = button(80, 24);
    Canvas normal(80, 24), hover(80, 24), inside(80, 24);
    paintDropDownButton(ctltest::recordFor(b, normal.dc, 0));
    paintDropDownButton(ctltest::recordFor(b, hover.dc, 1));
    setSkinProp(b, prop::mouseInside, 1);
    paintDropDownButton(ctltest::recordFor(b, inside.dc, 0));
    // (200, 237, 236) over (144, 189, 192) normally; (250, 240, 150) over (164, 190, 158) hovered.
    EXPECT_TRUE(nearColour(normal.at(62, 3), RGB(200, 237, 236), 6));
    EXPECT_TRUE(sameColour(normal.at(62, 12), RGB(144, 189, 192)));
    EXPECT_TRUE(nearColour(hover.at(62, 3), RGB(250, 240, 150), 12));
    EXPECT_TRUE(sameColour(hover.at(62, 12), RGB(164, 190, 158)));
    EXPECT_TRUE(sameColour(inside.at(62, 3), hover.at(62, 3))) << "the pointer property also selects hover";
}

TEST_F(DropDownTest, NarrowButtonClipsTheBox) {
    HWND b = button(12, 24);
    Canvas canvas(12, 24, RGB(0, 0, 0));
    paintDropDownButton(ctltest::recordFor(b, canvas.dc, 0));  // box from -7: no crash, clipped
    EXPECT_TRUE(sameColour(canvas.at(5, 0), palette->lineColor));
    EXPECT_TRUE(sameColour(canvas.at(9, 10), palette->lineColor)) << "the box's right edge at w - 3";
}

TEST_F(DropDownTest, AttachKeepsTheOwnerDrawing) {
    HWND b = button(80, 24);
    EXPECT_EQ(GetWindowLongA(b, GWL_STYLE) & 0xF, BS_OWNERDRAW);
    EXPECT_EQ(getSkinProp(b, prop::buttonKind), kOwnerDrawButton);
    EXPECT_EQ(getSkinProp(b, prop::focus), 0);
    EXPECT_EQ(GetWindowLongPtrA(b, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&dropDownButtonProc));
}

TEST_F(DropDownTest, EnterLeaveAndTextReads) {
    HWND a = button(80, 24, 300, 10);
    HWND b = button(80, 24, 301, 100);
    UpdateWindow(parent);
    auto boxTop = [](HWND w) { return ctltest::clientPixels(w).at(62, 12); };
    const COLORREF normal = RGB(144, 189, 192), hover = RGB(164, 190, 158);

    SendMessageA(a, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(dropDownHoverFlag);
    EXPECT_EQ(getSkinProp(a, prop::mouseInside), 1);
    EXPECT_TRUE(sameColour(boxTop(a), hover));
    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(getSkinProp(b, prop::mouseInside), 0) << "b waits for a's leave";

    // A text read repaints from the property and frees the flag.
    char text[16];
    GetWindowTextA(a, text, sizeof(text));
    EXPECT_FALSE(dropDownHoverFlag);
    EXPECT_TRUE(sameColour(boxTop(a), hover));

    SendMessageA(a, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(getSkinProp(a, prop::mouseInside), 0);
    EXPECT_TRUE(sameColour(boxTop(a), normal));
    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(getSkinProp(b, prop::mouseInside), 1);
    SendMessageA(b, WM_MOUSELEAVE, 0, 0);

    // Any text read lays the decoration again, over whatever was there.
    HDC dc = GetDC(a);
    RECT all{0, 0, 80, 24};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(a, dc);
    GetWindowTextA(a, text, sizeof(text));
    EXPECT_TRUE(sameColour(boxTop(a), normal));
    EXPECT_TRUE(sameColour(ctltest::clientPixels(a).at(30, 0), palette->lineColor));
    EXPECT_TRUE(sameColour(ctltest::clientPixels(a).at(30, 5), RGB(0, 0, 0))) << "the owner's face is left alone";
}

}  // namespace
