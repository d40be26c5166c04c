// Picture boxes and transparent labels, checked by their pixels on screen and off screen.
#include <gtest/gtest.h>

#include "skin/attach.h"
#include "skin/decode.h"
#include "support/app.h"

using testpx::Canvas;
using testpx::Capture;

namespace {

// A visible area holding the controls under test: a child of one top-level window that lives as
// long as the test program (under Wine without a window manager, destroying a shown top-level
// window waits two seconds for the manager).
struct Host {
    HWND window;
    Host(int width, int height) {
        static HWND stage = [] {
            registerMainWindowClass(GetModuleHandleA(nullptr));
            HWND top = CreateWindowExA(0, formWindowClass, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 300,
                                       200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
            SetForegroundWindow(top);
            return top;
        }();
        window = CreateWindowExA(0, formWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width,
                                 height, stage, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~Host() {
        DestroyWindow(window);
        testpx::pumpMessages(10);
    }
};

// Vertical stripes with a vertical ramp, no green, so that green text stands apart from it.
COLORREF stripes(int x, int y) { return (x / 3) % 2 ? RGB(200, 0, 40 + y * 3) : RGB(30, 0, 220 - y * 3); }

Capture paintedOffScreen(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    Canvas canvas(r.right, r.bottom, RGB(1, 2, 3));
    renderWindowTree(window, canvas.dc, POINT{0, 0});
    Capture c;
    c.width = r.right;
    c.height = r.bottom;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const COLORREF p = canvas.at(x, y);
            c.pixels.push_back((GetRValue(p) << 16) | (GetGValue(p) << 8) | GetBValue(p));
        }
    return c;
}

// A label of the given text over a 64 × 32 picture of stripes, shown 1:1.
struct LabelOverStripes {
    Host host{64, 32};
    HWND picture;
    HWND label;
    LabelOverStripes(const char* text, bool centred, int x = 8, int y = 8, int w = 48, int h = 16) {
        picture = createPictureBox(host.window, 1, 0, 0, 64, 32);
        setPictureBytes(picture, testapp::bmp24(64, 32, stripes));
        label = createTransparentLabel(picture, 2, x, y, w, h, text, nullptr, false, RGB(0, 255, 0), centred);
        UpdateWindow(host.window);
        testpx::pumpMessages(60);
    }
};

// Columns of the label that hold text pixels (any pixel with green).
std::vector<int> inkColumns(const Capture& c, int left, int top, int width, int height) {
    std::vector<int> columns;
    for (int x = left; x < left + width; ++x)
        for (int y = top; y < top + height; ++y)
            if (GetGValue(c.at(x, y)) > 0) {
                columns.push_back(x - left);
                break;
            }
    return columns;
}

}  // namespace

TEST(PictureBox, StretchesThePictureOverTheWholeBox) {
    Host host(80, 60);
    HWND box = createPictureBox(host.window, 1, 0, 0, 80, 60);
    // 4 × 4 picture of four 2 × 2 quadrants, stretched 20 × 15 times.
    const COLORREF quadrant[2][2] = {{RGB(255, 0, 0), RGB(0, 255, 0)}, {RGB(0, 0, 255), RGB(255, 255, 255)}};
    setPictureBytes(box, testapp::bmp24(4, 4, [&](int x, int y) { return quadrant[y / 2][x / 2]; }));
    ASSERT_TRUE(hasPicture(box));
    testpx::pumpMessages(60);
    const Capture offScreen = paintedOffScreen(host.window);
    EXPECT_EQ(offScreen.at(3, 3), quadrant[0][0]);
    EXPECT_EQ(offScreen.at(76, 3), quadrant[0][1]);
    EXPECT_EQ(offScreen.at(3, 56), quadrant[1][0]);
    EXPECT_EQ(offScreen.at(76, 56), quadrant[1][1]);
    const Capture screen = testpx::captureClient(box);
    EXPECT_EQ(screen.pixels, offScreen.pixels);
}

TEST(PictureBox, EmptyOrUndecodableBytesLeaveTheButtonFace) {
    const std::string text = "这不是图片 / not a picture";
    const auto bmp = testapp::solidBmp(8, 8, RGB(10, 200, 30));
    const auto gif = testapp::animatedGif(2, 2, {RGB(0, 0, 0), RGB(255, 0, 0), 0, 0}, {{1, 1, 1, 1}}, 0);
    const struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"text", std::vector<uint8_t>(text.begin(), text.end())},
        {"truncated bmp", std::vector<uint8_t>(bmp.begin(), bmp.begin() + 40)},
        {"truncated gif", std::vector<uint8_t>(gif.begin(), gif.begin() + 20)},
        {"jpeg claiming 60000 x 60000", testapp::jpegClaimingSize(60000, 60000)},
    };
    Host host(40, 30);
    HWND box = createPictureBox(host.window, 1, 0, 0, 40, 30);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setPictureBytes(box, bmp);
        ASSERT_TRUE(hasPicture(box));
        setPictureBytes(box, c.bytes);
        EXPECT_FALSE(hasPicture(box));
        testpx::pumpMessages(30);
        const Capture screen = testpx::captureClient(box);
        for (int y = 0; y < screen.height; y += 7)
            for (int x = 0; x < screen.width; x += 7) ASSERT_EQ(screen.at(x, y), GetSysColor(COLOR_BTNFACE));
    }
}

TEST(PictureBox, AnimatedGifPlaysItsFrames) {
    const COLORREF palette[4] = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0)};
    const auto gif = testapp::animatedGif(4, 4, palette, {std::vector<uint8_t>(16, 1), std::vector<uint8_t>(16, 2),
                                                          std::vector<uint8_t>(16, 3)}, 5);
    Host host(20, 20);
    HWND box = createPictureBox(host.window, 1, 0, 0, 20, 20);
    setPictureBytes(box, gif);
    ASSERT_EQ(pictureFrameCount(box), 3u);
    EXPECT_EQ(pictureFrameIndex(box), 0u);
    for (size_t expected : {1u, 2u, 0u}) {
        testapp::pumpUntil([&] { return pictureFrameIndex(box) == expected; }, 3000);
        ASSERT_EQ(pictureFrameIndex(box), expected);
        UpdateWindow(host.window);
        EXPECT_EQ(paintedOffScreen(host.window).at(10, 10), palette[expected + 1]);
    }
    // A still picture stops the animation.
    setPictureBytes(box, testapp::solidBmp(2, 2, RGB(9, 9, 9)));
    testpx::pumpMessages(200);
    EXPECT_EQ(pictureFrameIndex(box), 0u);
    EXPECT_EQ(pictureFrameCount(box), 1u);
}

TEST(TransparentLabel, DrawsOnlyItsTextOverWhatLiesBeneath) {
    LabelOverStripes scene("Ab&c", false);
    const Capture screen = testpx::captureClient(scene.host.window);
    int ink = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            const COLORREF p = screen.at(x, y);
            if (GetGValue(p) > 0)
                ++ink;  // text: only inside the label
            else
                ASSERT_EQ(p, stripes(x, y)) << x << "," << y;
            if (x < 8 || x >= 56 || y < 8 || y >= 24) {
                ASSERT_EQ(p, stripes(x, y)) << x << "," << y;
            }
        }
    EXPECT_GT(ink, 10);
    // Off screen the label paints the same pixels.
    EXPECT_EQ(paintedOffScreen(scene.host.window).pixels, screen.pixels);
}

TEST(TransparentLabel, ShowsAmpersandAndIsSingleLineVerticallyCentredAndClipped) {
    // A lone "&" would vanish with prefix processing.
    {
        LabelOverStripes scene("&", false);
        EXPECT_FALSE(inkColumns(testpx::captureClient(scene.host.window), 8, 8, 48, 16).empty());
    }
    // The same text in a label 8 pixels high shows the middle rows of what a 16-pixel label shows.
    LabelOverStripes tall("|||", false, 8, 4, 48, 16);
    LabelOverStripes shortOne("|||", false, 8, 8, 48, 8);
    const Capture a = testpx::captureClient(tall.host.window), b = testpx::captureClient(shortOne.host.window);
    // Both are centred on row 12; rounding of the centring may shift the text by one row.
    auto sameRows = [&](int shift) {
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 48; ++x)
                if ((GetGValue(b.at(8 + x, 8 + y)) > 0) != (GetGValue(a.at(8 + x, 8 + y + shift)) > 0)) return false;
        return true;
    };
    EXPECT_TRUE(sameRows(0) || sameRows(-1) || sameRows(1));
    int topInk = 0, bottomInk = 0;
    for (int x = 8; x < 56; ++x) {
        topInk += GetGValue(b.at(x, 8)) > 0;
        bottomInk += GetGValue(b.at(x, 15)) > 0;
    }
    EXPECT_GT(topInk, 0);  // the glyphs run over both edges: only their middle shows
    EXPECT_GT(bottomInk, 0);
    // Outside the short label nothing is drawn, also where the glyphs reach beyond it.
    for (int x = 0; x < 64; ++x) {
        EXPECT_EQ(b.at(x, 7), stripes(x, 7));
        EXPECT_EQ(b.at(x, 16), stripes(x, 16));
    }
    // A line break does not start a second line.
    LabelOverStripes twoLines("H\nH", false, 8, 0, 48, 32);
    const Capture c = testpx::captureClient(twoLines.host.window);
    int rowsWithInk = 0;
    for (int y = 0; y < 32; ++y) {
        bool any = false;
        for (int x = 8; x < 56; ++x) any |= GetGValue(c.at(x, y)) > 0;
        rowsWithInk += any;
    }
    EXPECT_LT(rowsWithInk, 14);
}

TEST(TransparentLabel, CentredTextHasEqualMargins) {
    LabelOverStripes scene("HH", true);
    const auto columns = inkColumns(testpx::captureClient(scene.host.window), 8, 8, 48, 16);
    ASSERT_FALSE(columns.empty());
    const int leftMargin = columns.front(), rightMargin = 47 - columns.back();
    EXPECT_LE(std::abs(leftMargin - rightMargin), 2) << leftMargin << " " << rightMargin;
}

TEST(TransparentLabel, NewTextLeavesNoTraceOfTheOld) {
    LabelOverStripes scene("WWWWWWWW", false);
    const auto before = inkColumns(testpx::captureClient(scene.host.window), 8, 8, 48, 16);
    ASSERT_FALSE(before.empty());
    ASSERT_GT(before.back(), 30);
    SetWindowTextA(scene.label, "i");
    testpx::pumpMessages(30);
    const Capture after = testpx::captureClient(scene.host.window);
    const auto columns = inkColumns(after, 8, 8, 48, 16);
    ASSERT_FALSE(columns.empty());
    EXPECT_LT(columns.back(), 8);
    for (int y = 8; y < 24; ++y)
        for (int x = 8 + 10; x < 56; ++x) ASSERT_EQ(after.at(x, y), stripes(x, y)) << x << "," << y;
    SetWindowTextA(scene.label, "");
    testpx::pumpMessages(30);
    const Capture empty = testpx::captureClient(scene.host.window);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_EQ(empty.at(x, y), stripes(x, y)) << x << "," << y;
}

TEST(TransparentLabel, ShowsASiblingBeneathIt) {
    Host host(64, 32);
    HWND picture = createPictureBox(host.window, 1, 0, 0, 64, 32);
    setPictureBytes(picture, testapp::bmp24(64, 32, stripes));
    // The label is created first, so it lies above the box created after it.
    HWND label = createTransparentLabel(picture, 2, 4, 4, 56, 24, "", nullptr, false, RGB(0, 255, 0), false);
    HWND sibling = createPictureBox(picture, 3, 20, 0, 24, 32);
    setPictureBytes(sibling, testapp::solidBmp(4, 4, RGB(250, 0, 250)));
    SetWindowTextA(label, "i");
    UpdateWindow(host.window);
    testpx::pumpMessages(60);
    const Capture screen = testpx::captureClient(host.window);
    for (int y = 4; y < 28; ++y) {
        EXPECT_EQ(screen.at(30, y), RGB(250, 0, 250)) << y;
        EXPECT_EQ(screen.at(50, y), stripes(50, y)) << y;
    }
    EXPECT_EQ(paintedOffScreen(host.window).pixels, screen.pixels);
}

TEST(TransparentLabel, OverTheFormItShowsTheButtonFace) {
    Host host(64, 24);
    HWND label = createTransparentLabel(host.window, 2, 0, 0, 64, 24, "姓名：",
                                        static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), false, 0, false);
    UpdateWindow(label);
    testpx::pumpMessages(60);
    const Capture screen = testpx::captureClient(host.window);
    int ink = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 64; ++x) ink += screen.at(x, y) != GetSysColor(COLOR_BTNFACE);
    EXPECT_GT(ink, 10);
    for (int y = 0; y < 24; ++y) EXPECT_EQ(screen.at(63, y), GetSysColor(COLOR_BTNFACE));
}

TEST(Files, ReadWholeFileGivesAllBytesOrNothing) {
    testapp::ScratchFolder folder("读文件");
    std::vector<uint8_t> bytes(100000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
    ASSERT_TRUE(testapp::writeFile(folder / "全部.bin", bytes));
    ASSERT_TRUE(testapp::writeFile(folder / "empty.bin", std::string()));
    EXPECT_EQ(readWholeFile(folder / "全部.bin"), bytes);
    EXPECT_TRUE(readWholeFile(folder / "empty.bin").empty());
    EXPECT_TRUE(readWholeFile(folder / "missing.bin").empty());
    EXPECT_TRUE(readWholeFile(folder.path).empty());
    EXPECT_FALSE(resourceBytes(IDR_DEFAULT_TEMPLATE).empty());
    EXPECT_FALSE(resourceBytes(IDR_DEFAULT_PHOTO).empty());
}

TEST(PictureBox, HeaderSizeIsCheckedBeforeDecoding) {
    auto patched = [](std::vector<uint8_t> bytes, size_t at, std::initializer_list<uint8_t> values) {
        for (uint8_t v : values) bytes[at++] = v;
        return bytes;
    };
    const auto bmp = testapp::solidBmp(8, 8, 0);
    const auto gif = testapp::animatedGif(2, 2, {0, RGB(255, 0, 0), 0, 0}, {{1, 1, 1, 1}}, 0);
    const size_t gifFrame = 13 + 12 + 19 + 8;  // header, colour table, loop extension, frame control
    ASSERT_EQ(gif[gifFrame], 0x2C);
    const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                      0,    0,   0,   100, 0,    0,    0,    100,  8, 2, 0, 0,  0};
    const std::string text = "plain text";
    const struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        bool accepted;
    } cases[] = {
        {"jpeg", testapp::sampleJpeg(), true},
        {"jpeg 4096 x 4096", testapp::jpegClaimingSize(4096, 4096), true},
        {"jpeg 4097 x 4096", testapp::jpegClaimingSize(4097, 4096), false},
        {"jpeg 60000 x 60000", testapp::jpegClaimingSize(60000, 60000), false},
        {"jpeg without frame header", {0xFF, 0xD8, 0xFF, 0xD9}, false},
        {"bmp", bmp, true},
        {"bmp top-down", patched(bmp, 22, {0xF8, 0xFF, 0xFF, 0xFF}), true},
        {"bmp 60000 x 60000", patched(bmp, 18, {0x60, 0xEA, 0, 0, 0x60, 0xEA, 0, 0}), false},
        {"png 100 x 100", png, true},
        {"png 60000 x 60000", patched(png, 16, {0, 0, 0xEA, 0x60, 0, 0, 0xEA, 0x60}), false},
        {"gif", gif, true},
        {"gif screen 60000 x 60000", patched(gif, 6, {0x60, 0xEA, 0x60, 0xEA}), false},
        {"gif frame 60000 x 60000", patched(gif, gifFrame + 5, {0x60, 0xEA, 0x60, 0xEA}), false},
        {"tiff", {'I', 'I', 42, 0, 8, 0, 0, 0}, false},
        {"text", std::vector<uint8_t>(text.begin(), text.end()), false},
        {"empty", {}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pictureHeaderWithinLimit(c.bytes.data(), c.bytes.size(), kMaxPicturePixels), c.accepted) << c.name;
}
