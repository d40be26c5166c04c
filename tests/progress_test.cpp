// Progress bars: percentage and geometry as numbers, then the painted bars of real progress controls.
#include <windows.h>
#include <commctrl.h>

#include <tuple>

#include "controls_fixture.h"

using ctltest::nearColour;
using ctltest::sameColour;

namespace {

std::string text(const RECT& r) { return ctltest::rectText(r); }

TEST(ProgressNumbers, PercentageWithFloorE) {
    struct Case {
        int low, high, position, percent;
    } const cases[] = {
        {0, 100, 29, 29}, {0, 100, 57, 57}, {0, 100, 58, 58}, {0, 100, 100, 100}, {0, 100, 0, 0},
        {0, 3, 1, 33},    {0, 3, 2, 66},    {-50, 50, 0, 50}, {0, 100, 150, 150}, {0, 100, -5, -5},
        {5, 5, 5, 0},     {7, 7, 0, 0},  // an empty range shows 0 %
    };
    for (const Case& c : cases)
        EXPECT_EQ(progressPercent(c.low, c.high, c.position), c.percent) << c.low << ".." << c.high << " at " << c.position;
    EXPECT_EQ(floorE(0.29 * 100), 29.0);
    EXPECT_EQ(floorE(2.5), 2.0);
    EXPECT_EQ(floorE(-0.5), -1.0);
    EXPECT_EQ(floorE(0.9999999), 0.0);
}

TEST(ProgressNumbers, BarGeometry) {
    struct Case {
        const char* name;
        int w, h;
        bool vertical, smooth;
        int low, high, position;
        RECT bar;
        int pitch, blocks;
    } const cases[] = {
        {"200 x 20 at 50 %, blocks", 200, 20, false, false, 0, 100, 50, {1, 1, 112, 19}, 14, 8},
        {"the same, smooth", 200, 20, false, true, 0, 100, 50, {1, 1, 99, 19}, 0, 0},
        {"a whole number of blocks stays", 200, 20, false, false, 0, 198, 14, {1, 1, 14, 19}, 14, 1},
        {"0 %", 200, 20, false, false, 0, 100, 0, {1, 1, 0, 19}, 14, 0},
        {"empty range", 200, 20, false, false, 5, 5, 5, {1, 1, 0, 19}, 14, 0},
        {"vertical 20 x 200 at 50 %", 20, 200, true, false, 0, 100, 50, {1, 87, 19, 199}, 14, 8},
        {"vertical smooth", 20, 200, true, true, 0, 100, 50, {1, 100, 19, 199}, 0, 0},
        {"vertical, empty range", 20, 200, true, false, 3, 3, 3, {1, 199, 19, 199}, 14, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgressBarLayout layout = progressBarLayout(c.w, c.h, c.vertical, c.smooth, c.low, c.high, c.position);
        EXPECT_EQ(text(layout.bar), text(c.bar));
        EXPECT_EQ(layout.pitch, c.pitch);
        EXPECT_EQ(layout.blocks, c.blocks);
    }
}

class ProgressTest : public testing::Test {
protected:
    void SetUp() override {
        palette = &ctltest::defaultPalette();
        parent = ctltest::createTestParent();
        light = palette->faceStart[0];
        dark = palette->markColor;
        palette->textColor = RGB(255, 0, 0);  // red text stands out from the bar and the track
    }
    HWND bar(DWORD style, int w, int h, int low, int high, int position) {
        HWND b = ctltest::createControl(parent, PROGRESS_CLASSA, "", style, {10, 10, 10 + w, 10 + h}, 700);
        attachProgressBar(b);
        SendMessageA(b, PBM_SETRANGE32, low, high);
        SendMessageA(b, PBM_SETPOS, position, 0);
        UpdateWindow(b);
        return b;
    }
    // Where the (red) text shows, even smoothed over the bar or the track.
    static RECT textInk(const testpx::Capture& px, RECT area) {
        return ctltest::inkBox(area, [&](int x, int y) {
            const COLORREF c = px.at(x, y);
            return GetRValue(c) - std::max(GetGValue(c), GetBValue(c)) > 40;
        });
    }
    SkinPalette* palette = nullptr;
    HWND parent = nullptr;
    COLORREF light = 0, dark = 0;
};

TEST_F(ProgressTest, HorizontalBlocksAt50Percent) {
    HWND b = bar(0, 200, 20, 0, 100, 50);
    const testpx::Capture px = ctltest::clientPixels(b);
    const COLORREF lowerStart = blend(0.8f, dark, light);
    // The bar: rows 1 to 18 (bands split at row 10), columns 1 to 111, cut by separators.
    EXPECT_TRUE(sameColour(px.at(5, 10), lowerStart));
    EXPECT_TRUE(nearColour(px.at(5, 9), ctltest::gradientAt(light, blend(0.88f, dark, light), 1, 10, 9), 2));
    EXPECT_TRUE(nearColour(px.at(5, 2), ctltest::gradientAt(light, blend(0.88f, dark, light), 1, 10, 2), 2));
    EXPECT_TRUE(nearColour(px.at(5, 16), ctltest::gradientAt(lowerStart, dark, 10, 19, 16), 2));
    // Row 2 lies above the text.
    const COLORREF barRow2 = ctltest::gradientAt(light, blend(0.88f, dark, light), 1, 10, 2);
    EXPECT_TRUE(nearColour(px.at(111, 2), barRow2, 2)) << "the end moves out to the next block";
    EXPECT_TRUE(nearColour(px.at(112, 2), ctltest::gradientAt(palette->windowColor, light, 0, 10, 2), 2))
        << "the track after the bar";
    for (int x : {14, 15, 28, 29, 42, 43, 56, 57, 70, 71, 84, 85, 98, 99, 113})
        EXPECT_TRUE(sameColour(px.at(x, 2), palette->windowColor)) << "separator at " << x;
    for (int x : {13, 16, 27, 30, 97, 100})
        EXPECT_TRUE(nearColour(px.at(x, 2), barRow2, 2)) << "block at " << x;
    // The frame: lineColor on column w - 2 and row h - 2, windowColor inside it; the last column and
    // row show the track.
    EXPECT_TRUE(sameColour(px.at(0, 10), palette->lineColor));
    EXPECT_TRUE(sameColour(px.at(198, 10), palette->lineColor));
    EXPECT_TRUE(sameColour(px.at(100, 0), palette->lineColor));
    EXPECT_TRUE(sameColour(px.at(100, 18), palette->lineColor));
    EXPECT_FALSE(sameColour(px.at(199, 10), palette->lineColor));
    EXPECT_FALSE(sameColour(px.at(150, 19), palette->lineColor));
    EXPECT_TRUE(sameColour(px.at(1, 10), palette->windowColor));
    EXPECT_TRUE(sameColour(px.at(197, 10), palette->windowColor));
    EXPECT_TRUE(sameColour(px.at(150, 17), palette->windowColor));
    // "50%" centred in the whole control, about as tall as the 18-pixel font's digits.
    const RECT ink = textInk(px, {2, 2, 197, 17});
    EXPECT_LE(std::abs(ink.left + ink.right - 200), 4) << text(ink);
    EXPECT_GE(ink.bottom - ink.top, 9) << text(ink);
}

TEST_F(ProgressTest, SmoothBarHasNoSeparators) {
    HWND b = bar(PBS_SMOOTH, 200, 20, 0, 100, 50);
    const testpx::Capture px = ctltest::clientPixels(b);
    const COLORREF barRow2 = ctltest::gradientAt(light, blend(0.88f, dark, light), 1, 10, 2);
    EXPECT_TRUE(nearColour(px.at(98, 2), barRow2, 2));
    EXPECT_FALSE(nearColour(px.at(99, 2), barRow2, 2));
    for (int x : {14, 15, 28, 29}) EXPECT_TRUE(sameColour(px.at(x, 10), blend(0.8f, dark, light)));
}

TEST_F(ProgressTest, VerticalBarGrowsFromTheBottom) {
    HWND b = bar(PBS_VERTICAL, 20, 200, 0, 100, 50);
    const testpx::Capture px = ctltest::clientPixels(b);
    // Left band columns 1 to 8, right band 9 to 18; the bar's top moved up to 87.
    EXPECT_TRUE(sameColour(px.at(9, 150), blend(0.8f, dark, light)));
    EXPECT_TRUE(nearColour(px.at(8, 150), ctltest::gradientAt(light, blend(0.88f, dark, light), 1, 9, 8), 2));
    for (int y : {87, 100, 101, 114, 115, 185})  // and 198, under the frame
        EXPECT_TRUE(sameColour(px.at(4, y), palette->windowColor)) << "separator at " << y;
    EXPECT_TRUE(sameColour(px.at(4, 99), px.at(4, 90))) << "inside a block";
    EXPECT_FALSE(sameColour(px.at(4, 99), palette->windowColor));
    EXPECT_TRUE(sameColour(px.at(4, 86), px.at(4, 40))) << "the track above the bar";
    // The rotated text: from (1, 113) upward, its cell to the right of x = 1.
    const RECT ink = textInk(px, {2, 2, 17, 197});
    ASSERT_GT(ink.bottom, ink.top);
    EXPECT_LE(ink.bottom, 114);
    EXPECT_GE(ink.top, 113 - 3 * 18 / 2 - 4);
    EXPECT_GT(ink.bottom - ink.top, ink.right - ink.left) << "runs upward: taller than wide";
}

TEST_F(ProgressTest, ZeroPercentAndEmptyRangeShowNoBar) {
    for (const auto& [low, high, position] : {std::tuple{0, 100, 0}, std::tuple{5, 5, 5}}) {
        HWND b = bar(0, 200, 20, low, high, position);
        const testpx::Capture px = ctltest::clientPixels(b);
        for (int x : {5, 14, 15, 50}) EXPECT_TRUE(sameColour(px.at(x, 10), light)) << low << ".." << high << " x " << x;
        const RECT ink0 = textInk(px, {2, 2, 197, 17});
        EXPECT_LE(std::abs(ink0.left + ink0.right - 200), 4) << "centred";
        const RECT ink = textInk(px, {2, 2, 197, 17});
        EXPECT_GT(ink.right, ink.left) << "\"0%\" is shown";
        EXPECT_LT(ink.right - ink.left, 40);
        DestroyWindow(b);
    }
}

TEST_F(ProgressTest, PercentagesOnScreen) {
    // 29, 57 and 58 per cent come out whole: the text width of "57%" and "58%" is that of two digits.
    HWND b = bar(PBS_SMOOTH, 200, 20, 0, 100, 0);
    auto inkWidth = [&](int position) {
        SendMessageA(b, PBM_SETPOS, position, 0);
        UpdateWindow(b);
        const RECT ink = textInk(ctltest::clientPixels(b), {2, 2, 197, 17});
        return ink.right - ink.left;
    };
    const int two = inkWidth(29);
    EXPECT_EQ(inkWidth(57), two);
    EXPECT_EQ(inkWidth(58), two);
    EXPECT_GT(inkWidth(100), two);
    EXPECT_LT(inkWidth(0), two);
}

// The paint made for PBM_SETPOS uses the new position although the control still holds the old one.
LRESULT CALLBACK platformUnderTest(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC platformProc = nullptr;
testpx::Capture seenAtSetPos;
LRESULT CALLBACK platformUnderTest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PBM_SETPOS) seenAtSetPos = ctltest::clientPixels(window);
    return CallWindowProcA(platformProc, window, message, wParam, lParam);
}

TEST_F(ProgressTest, SetPosPaintsTheNewPositionBeforeTheControlStoresIt) {
    HWND b = ctltest::createControl(parent, PROGRESS_CLASSA, "", PBS_SMOOTH, {10, 10, 210, 30}, 701);
    SendMessageA(b, PBM_SETRANGE32, 0, 100);
    SendMessageA(b, PBM_SETPOS, 20, 0);
    platformProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&platformUnderTest)));
    attachProgressBar(b);
    UpdateWindow(b);
    SendMessageA(b, PBM_SETPOS, 80, 0);
    ASSERT_EQ(seenAtSetPos.width, 200);
    EXPECT_TRUE(sameColour(seenAtSetPos.at(150, 10), blend(0.8f, dark, light))) << "80 % painted already";
    EXPECT_EQ(SendMessageA(b, PBM_GETPOS, 0, 0), 80);
}

TEST_F(ProgressTest, EraseBackgroundPaintsTheTrackOnly) {
    HWND b = bar(0, 200, 20, 0, 100, 50);
    HDC dc = GetDC(b);
    EXPECT_EQ(SendMessageA(b, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(b, dc);
    const testpx::Capture px = ctltest::clientPixels(b);
    EXPECT_TRUE(sameColour(px.at(50, 0), palette->windowColor)) << "track edge";
    EXPECT_TRUE(sameColour(px.at(50, 10), light)) << "track middle, no bar";
    EXPECT_TRUE(nearColour(px.at(50, 19), palette->windowColor, 8));
}

}  // namespace
