// Theme data: colour helpers, palette defaults and the atlas decoded into atlasDC.
#include <gtest/gtest.h>

#include "skin/theme.h"

namespace {

class Theme : public testing::Test {
protected:
    static void SetUpTestSuite() {
        allocateSkinTables();
        setupTheme(SkinPalette{}, false);
    }
};

COLORREF brushColour(HBRUSH brush) {
    LOGBRUSH info{};
    GetObjectA(brush, sizeof(info), &info);
    return info.lbColor;
}

}  // namespace

TEST(ColourHelpers, ChannelsRoundDown) {
    EXPECT_EQ(redOf(0x00F3E1CA), 202);
    EXPECT_EQ(greenOf(0x00F3E1CA), 225);
    EXPECT_EQ(blueOf(0x00F3E1CA), 243);
    // With the high bit set the value is negative and blue goes below zero.
    const auto high = static_cast<int32_t>(0xFF000000u);
    EXPECT_EQ(redOf(high), 0);
    EXPECT_EQ(greenOf(high), 0);
    EXPECT_EQ(blueOf(high), -256);
    EXPECT_EQ(redOf(-1), 255);
    EXPECT_EQ(greenOf(-1), 255);
    EXPECT_EQ(blueOf(-1), -1);
}

TEST(ColourHelpers, BlendKeepsTheSinglePrecisionFactor) {
    struct Case {
        float f;
        COLORREF a, b, result;
    };
    const Case cases[] = {
        {1.0f, RGB(202, 225, 243), RGB(255, 255, 255), RGB(228, 240, 249)},
        {0.88f, RGB(160, 237, 246), RGB(200, 237, 236), RGB(158, 208, 212)},
        {0.8f, RGB(160, 237, 246), RGB(200, 237, 236), RGB(144, 189, 192)},
        {0.88f, RGB(25, 0, 0), RGB(0, 0, 0), RGB(10, 0, 0)},  // 25 × 0.44 would be 11
        {0.8f, RGB(25, 0, 0), RGB(0, 0, 0), RGB(10, 0, 0)},
        {1.0f, RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(blend(c.f, c.a, c.b), c.result) << c.f << " " << std::hex << c.a << " " << c.b;
}

TEST_F(Theme, DefaultPaletteAndBrushes) {
    const SkinPalette& p = *skinPalette;
    EXPECT_EQ(p.windowColor, RGB(202, 225, 243));
    const COLORREF start[4] = {RGB(200, 237, 236), RGB(250, 240, 150), RGB(160, 237, 246), RGB(0, 0, 0)};
    const COLORREF end[4] = {RGB(160, 237, 246), RGB(160, 237, 246), RGB(250, 240, 150), RGB(128, 128, 128)};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p.faceStart[i], start[i]) << i;
        EXPECT_EQ(p.faceEnd[i], end[i]) << i;
    }
    EXPECT_EQ(p.textColor, RGB(50, 55, 160));
    EXPECT_EQ(p.lineColor, RGB(102, 192, 250));
    EXPECT_EQ(p.markColor, RGB(0, 205, 65));
    EXPECT_EQ(brushColour(editBrush), RGB(228, 240, 249));
    EXPECT_EQ(brushColour(staticBrush), RGB(202, 225, 243));
    EXPECT_EQ(skinSprites->captionTextColor, RGB(0, 0, 128));
}

TEST_F(Theme, SpriteTable) {
    const SkinSprites& s = *skinSprites;
    EXPECT_EQ(s.caption.active.mL, 46);
    EXPECT_EQ(s.caption.active.mT, 7);
    EXPECT_EQ(s.caption.active.mR, 53);
    EXPECT_EQ(s.caption.active.mB, 0);
    EXPECT_EQ(s.caption.inactive.mL, 42);
    EXPECT_EQ(s.caption.inactive.mR, 46);
    EXPECT_EQ(s.bottomBorder.inactive.mL, 6);
    EXPECT_EQ(s.bottomBorder.inactive.mR, 6);
    EXPECT_EQ(s.leftBorder.inactive.h, 15);
    EXPECT_EQ(s.leftBorder.key, 0u);
    EXPECT_EQ(s.maximizeButton.key, 0u);
    EXPECT_EQ(s.restoreButton.key, 0xFF00FFu);
    EXPECT_EQ(s.closeButton.state[3].x, 169);
    EXPECT_EQ(s.closeButton.state[3].y, 31);
    EXPECT_EQ(s.restoreButton.state[3].x, 179);
    EXPECT_EQ(s.backgroundCell.x, 37);
    EXPECT_EQ(s.backgroundCell.w, 20);
}

TEST_F(Theme, AtlasIsDecodedIntoAtlasDC) {
    ASSERT_NE(atlasDC, nullptr);
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(GetCurrentObject(atlasDC, OBJ_BITMAP), sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 218);
    EXPECT_EQ(info.bmHeight, 342);
    const SpriteRect cell = skinSprites->backgroundCell;
    for (int y = cell.y; y < cell.y + cell.h; ++y)
        for (int x = cell.x; x < cell.x + cell.w; ++x) ASSERT_EQ(GetPixel(atlasDC, x, y), RGB(202, 225, 243));
    // Caption corners carry the magenta key, the outline its dark blue.
    EXPECT_EQ(GetPixel(atlasDC, 0, 31), RGB(255, 0, 255));
    EXPECT_EQ(GetPixel(atlasDC, 168, 33), RGB(255, 0, 255));
    EXPECT_EQ(GetPixel(atlasDC, 60, 31), RGB(1, 82, 150));
}

TEST(GivenPalette, IsCopied) {
    // A fresh table set from a caller's record, which the caller then changes.
    SkinPalette mine{};
    mine.windowColor = RGB(1, 2, 3);
    mine.faceStart[3] = RGB(9, 9, 9);
    mine.markColor = RGB(7, 8, 9);
    SkinPalette* saved = skinPalette;
    skinPalette = new SkinPalette{};
    const HDC savedAtlas = atlasDC;
    setupTheme(mine, true);
    mine.windowColor = RGB(100, 100, 100);
    EXPECT_EQ(skinPalette->windowColor, RGB(1, 2, 3));
    EXPECT_EQ(skinPalette->faceStart[3], RGB(9, 9, 9));
    EXPECT_EQ(skinPalette->markColor, RGB(7, 8, 9));
    EXPECT_EQ(brushColour(staticBrush), RGB(1, 2, 3));
    EXPECT_EQ(brushColour(editBrush), RGB(128, 128, 129));
    delete skinPalette;
    skinPalette = saved;
    DeleteDC(atlasDC);
    atlasDC = savedAtlas;
}
