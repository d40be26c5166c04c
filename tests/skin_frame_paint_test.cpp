// Frame painting by its pixels: the frame of a real attached window painted into a canvas and
// compared with the atlas pieces read back from atlasDC, the caption buttons in their states, the
// icon and caption text, the active and inactive look on screen, and no GDI object left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "skin/attach.h"
#include "skin/frame.h"
#include "support/pixels.h"
#include "tools/support/usage.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kBeneath = RGB(1, 2, 3);  // what the canvas held before the frame was painted

class FramePaint : public testing::Test {
protected:
    static void SetUpTestSuite() {
        allocateSkinTables();
        setupTheme(SkinPalette{}, false);
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = formWindowClass;
        RegisterClassExA(&wc);
    }

    void TearDown() override {
        for (HWND w : windows_) DestroyWindow(w);
    }

    // A form window of that style, attached as the skin attaches top-level windows.
    HWND attached(DWORD style, const char* title, int x = 100, int y = 100, int w = 306, int h = 236) {
        HWND window = CreateWindowExA(0, formWindowClass, title, style, x, y, w, h, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        windows_.push_back(window);
        attachFrameWindow(window);
        return window;
    }

    static SIZE sizeOf(HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        return {r.right - r.left, r.bottom - r.top};
    }

    std::vector<HWND> windows_;
};

// What the frame should look like: each piece copied out of atlasDC in drawing order, stretched
// pieces sampled at the nearest source pixel (the stretched atlas parts are uniform along the
// stretch), key pixels leaving the pixel beneath.
std::vector<COLORREF> expectedFrame(HWND window, int W, int H, bool active, std::vector<COLORREF> picture) {
    for (const SpriteCopy& p : framePieces(*skinSprites, active, W, H)) {
        const SpriteRect& d = p.destination;
        const SpriteRect& s = p.source;
        for (int y = 0; y < d.h; ++y)
            for (int x = 0; x < d.w; ++x) {
                const COLORREF source = GetPixel(atlasDC, s.x + x * s.w / d.w, s.y + y * s.h / d.h);
                if (p.key != 0 && source == p.key) continue;
                picture[static_cast<size_t>(d.y + y) * W + d.x + x] = source;
            }
    }
    (void)window;
    return picture;
}

// Compares a button area of the canvas with an atlas rectangle; key pixels must keep kBeneath.
void expectButton(const testpx::Canvas& canvas, int left, const SpriteRect& source, COLORREF key) {
    int mismatches = 0, keyPixels = 0;
    for (int y = 0; y < source.h; ++y)
        for (int x = 0; x < source.w; ++x) {
            const COLORREF atlas = GetPixel(atlasDC, source.x + x, source.y + y);
            const bool transparent = key != 0 && atlas == key;
            keyPixels += transparent;
            const COLORREF want = transparent ? kBeneath : atlas;
            if (canvas.at(left + x, y) != want && mismatches++ < 5)
                ADD_FAILURE() << "button pixel (" << x << ", " << y << ") is " << testpx::colourText(canvas.at(left + x, y))
                              << ", atlas " << testpx::colourText(want);
        }
    EXPECT_EQ(mismatches, 0);
    if (key != 0) {
        EXPECT_GT(keyPixels, 0) << "the sprite should carry key pixels";
    }
}

}  // namespace

TEST_F(FramePaint, PiecesMatchTheAtlasActiveAndInactive) {
    // No system menu and no text: paintFrame draws the eleven pieces only.
    HWND window = attached(WS_POPUP | WS_CAPTION, "");
    const SIZE size = sizeOf(window);
    const int W = size.cx, H = size.cy;
    for (bool active : {true, false}) {
        SCOPED_TRACE(active ? "active" : "inactive");
        setSkinProp(window, prop::activeState, active ? 1 : 0);
        testpx::Canvas canvas(W, H, kBeneath);
        std::vector<COLORREF> before(static_cast<size_t>(W) * H, kBeneath);
        paintFrame(canvas.dc, window);
        const auto expected = expectedFrame(window, W, H, active, before);
        int mismatches = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (canvas.at(x, y) != expected[static_cast<size_t>(y) * W + x] && mismatches++ < 8)
                    ADD_FAILURE() << "(" << x << ", " << y << ") is " << testpx::colourText(canvas.at(x, y))
                                  << ", expected " << testpx::colourText(expected[static_cast<size_t>(y) * W + x]);
        EXPECT_EQ(mismatches, 0);
        // The keyed corners left the pixels beneath them alone; the client area was never touched.
        for (POINT p : {POINT{0, 0}, POINT{2, 0}, POINT{0, 2}, POINT{W - 1, 0}, POINT{W - 3, 0}, POINT{W / 2, H / 2}})
            EXPECT_EQ(canvas.at(p.x, p.y), kBeneath) << p.x << ", " << p.y;
        // The lower corners show the side borders beneath them, drawn first.
        const Sprite& L = active ? skinSprites->leftBorder.active : skinSprites->leftBorder.inactive;
        const Sprite& R = active ? skinSprites->rightBorder.active : skinSprites->rightBorder.inactive;
        EXPECT_EQ(canvas.at(0, H - 1), GetPixel(atlasDC, L.x, L.y + L.h - 1));
        EXPECT_EQ(canvas.at(W - 1, H - 1), GetPixel(atlasDC, R.x + R.w - 1, R.y + R.h - 1));
        // The caption middle spans W - 99 (active) or W - 88 (inactive) columns of the source colour.
        const Sprite& c = active ? skinSprites->caption.active : skinSprites->caption.inactive;
        const COLORREF middle = GetPixel(atlasDC, c.x + c.mL, c.y + 15);
        EXPECT_EQ(canvas.at(c.mL, 15), middle);
        EXPECT_EQ(canvas.at(W - c.mR - 1, 15), middle);
    }
    // The two looks differ in the caption.
    setSkinProp(window, prop::activeState, 1);
    testpx::Canvas activeCanvas(W, H, kBeneath);
    paintFrame(activeCanvas.dc, window);
    setSkinProp(window, prop::activeState, 0);
    testpx::Canvas inactiveCanvas(W, H, kBeneath);
    paintFrame(inactiveCanvas.dc, window);
    EXPECT_NE(activeCanvas.at(W / 2, 15), inactiveCanvas.at(W / 2, 15));
}

TEST_F(FramePaint, OpaquePiecesCopyMagentaAndKeyedPiecesDropIt) {
    HWND window = attached(WS_POPUP | WS_CAPTION, "");
    const int W = sizeOf(window).cx;
    setSkinProp(window, prop::activeState, 1);
    const Sprite& c = skinSprites->caption.active;
    // Magenta planted in the caption's left column (piece 3, opaque) and top-left corner (piece 2, keyed).
    const POINT opaque{c.x + 10, c.y + 12}, keyed{c.x + 20, c.y + 3};
    const COLORREF savedOpaque = GetPixel(atlasDC, opaque.x, opaque.y);
    const COLORREF savedKeyed = GetPixel(atlasDC, keyed.x, keyed.y);
    SetPixel(atlasDC, opaque.x, opaque.y, kMagenta);
    SetPixel(atlasDC, keyed.x, keyed.y, kMagenta);
    testpx::Canvas canvas(W, 60, kBeneath);
    paintFrame(canvas.dc, window);
    SetPixel(atlasDC, opaque.x, opaque.y, savedOpaque);
    SetPixel(atlasDC, keyed.x, keyed.y, savedKeyed);
    EXPECT_EQ(canvas.at(10, 12), kMagenta);
    EXPECT_EQ(canvas.at(20, 3), kBeneath);
    EXPECT_EQ(canvas.at(21, 3), savedKeyed == kMagenta ? kBeneath : GetPixel(atlasDC, keyed.x + 1, keyed.y));
}

TEST_F(FramePaint, DrawSpriteKeyedCopyStretched) {
    // A keyed copy that is stretched: the key pixels of the stretched image keep the destination.
    testpx::Canvas canvas(40, 20, kBeneath);
    const SpriteRect corner = {skinSprites->caption.active.x, skinSprites->caption.active.y, 4, 3};
    drawSprite(canvas.dc, {0, 0, 8, 6}, corner, kMagenta);
    EXPECT_EQ(canvas.at(0, 0), kBeneath);                            // source (0, 0) is a key pixel
    EXPECT_EQ(canvas.at(7, 5), GetPixel(atlasDC, corner.x + 3, corner.y + 2));  // source (3, 2) is not
    EXPECT_EQ(canvas.at(9, 0), kBeneath);                            // outside the destination
}

TEST_F(FramePaint, CaptionButtonsInTheirStates) {
    HWND window = attached(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, "");
    const int W = sizeOf(window).cx;
    const StateSprites& close = skinSprites->closeButton;
    struct Case {
        const char* name;
        intptr_t active, state;
        int rectangle;
    };
    for (const Case& c : {Case{"normal", 1, 0, 0}, Case{"hover", 1, 1, 1}, Case{"pressed", 1, 2, 2},
                          Case{"inactive", 0, 1, 3}}) {
        SCOPED_TRACE(c.name);
        setSkinProp(window, prop::activeState, c.active);
        setSkinProp(window, prop::closeButton, c.state);
        testpx::Canvas canvas(W, 40, kBeneath);
        paintCaptionButtons(window, canvas.dc);
        expectButton(canvas, W - 56, close.state[c.rectangle], close.key);
        expectButton(canvas, W - 107, skinSprites->minimizeButton.state[c.active ? 0 : 3], kMagenta);
        expectButton(canvas, W - 82, skinSprites->maximizeButton.state[c.active ? 0 : 3], 0);
        EXPECT_EQ(canvas.at(W - 108, 5), kBeneath);
        EXPECT_EQ(canvas.at(W - 14, 5), kBeneath);
        EXPECT_EQ(canvas.at(W - 40, 18), kBeneath);
    }
    // The hovered close button is red, the normal one blue.
    const COLORREF hover = GetPixel(atlasDC, close.state[1].x + 8, close.state[1].y + 9);
    EXPECT_GT(GetRValue(hover), 150);
    EXPECT_LT(GetBValue(hover), 60);
}

TEST_F(FramePaint, CloseButtonAloneWithoutBoxes) {
    HWND window = attached(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, "");
    const int W = sizeOf(window).cx;
    setSkinProp(window, prop::activeState, 1);
    testpx::Canvas canvas(W, 40, kBeneath);
    paintCaptionButtons(window, canvas.dc);
    expectButton(canvas, W - 56, skinSprites->closeButton.state[0], kMagenta);
    for (int x = W - 110; x < W - 56; ++x) ASSERT_EQ(canvas.at(x, 8), kBeneath) << x;
    // Without a system menu there are no buttons at all.
    HWND bare = attached(WS_POPUP | WS_CAPTION, "");
    setSkinProp(bare, prop::activeState, 1);
    testpx::Canvas empty(W, 40, kBeneath);
    paintCaptionButtons(bare, empty.dc);
    for (int x = 0; x < W; ++x) ASSERT_EQ(empty.at(x, 8), kBeneath) << x;
}

TEST_F(FramePaint, IconAndNavyCaptionText) {
    // A plain green 16 × 16 icon, to find it by its colour.
    testpx::Canvas colour(16, 16, RGB(0, 200, 0));
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, mask);
        PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    ICONINFO info{TRUE, 0, 0, mask, colour.bitmap};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    ASSERT_NE(icon, nullptr);

    const std::string title(60, 'M');
    HWND window = CreateWindowExA(0, formWindowClass, title.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0,
                                  306, 236, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(window);
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    attachFrameWindow(window);
    EXPECT_EQ(getSkinProp(window, prop::iconHandle), reinterpret_cast<intptr_t>(icon));
    setSkinProp(window, prop::activeState, 1);
    const int W = sizeOf(window).cx;
    testpx::Canvas canvas(W, 40, kBeneath);
    paintFrame(canvas.dc, window);

    EXPECT_EQ(canvas.at(8, 7), RGB(0, 200, 0));
    EXPECT_EQ(canvas.at(23, 22), RGB(0, 200, 0));
    EXPECT_NE(canvas.at(7, 7), RGB(0, 200, 0));
    EXPECT_NE(canvas.at(24, 22), RGB(0, 200, 0));

    // The text: what changes against the same frame without text lies inside the box from x = 28 to
    // W - 60, rows 7 to 22, and is navy (smoothed against the sky blue, so dark green channel).
    testpx::Canvas plain(W, 40, kBeneath);
    rewriteCaptionTextBlock(reinterpret_cast<HGLOBAL>(getSkinProp(window, prop::captionText)), "", 0);
    paintFrame(plain.dc, window);
    int inside = 0, outside = 0, darkest = 255;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < W; ++x) {
            const COLORREF p = canvas.at(x, y);
            if (p == plain.at(x, y)) continue;
            if (x < 28 || x >= W - 60 || y < 7 || y >= 23) {
                ++outside;
                continue;
            }
            ++inside;
            darkest = std::min<int>(darkest, GetGValue(p));
            EXPECT_GE(GetBValue(p), GetGValue(p));
            EXPECT_GE(GetGValue(p), GetRValue(p));
        }
    EXPECT_GT(inside, 200);
    EXPECT_EQ(outside, 0);
    EXPECT_LT(darkest, 140);  // the caption behind the text has green 189 and more
    DestroyIcon(icon);
}

TEST_F(FramePaint, ActiveAndInactiveOnScreen) {
    HWND window = attached(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, "屏幕", 60, 60, 306, 236);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    testpx::pumpMessages(300);
    ASSERT_EQ(GetForegroundWindow(), window);
    SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
    testpx::pumpMessages(100);
    const testpx::Capture active = testpx::captureWindow(window);
    SendMessageA(window, WM_NCACTIVATE, FALSE, 0);
    testpx::pumpMessages(100);
    const testpx::Capture inactive = testpx::captureWindow(window);

    const Sprite& a = skinSprites->caption.active;
    const Sprite& i = skinSprites->caption.inactive;
    const int x = active.width / 2 - 20;
    EXPECT_EQ(active.at(x, 15), GetPixel(atlasDC, a.x + a.mL, a.y + 15));
    EXPECT_EQ(inactive.at(x, 15), GetPixel(atlasDC, i.x + i.mL, i.y + 15));
    EXPECT_EQ(active.at(1, 100), GetPixel(atlasDC, skinSprites->leftBorder.active.x + 1, skinSprites->leftBorder.active.y));
    EXPECT_EQ(inactive.at(1, 100),
              GetPixel(atlasDC, skinSprites->leftBorder.inactive.x + 1, skinSprites->leftBorder.inactive.y + 5));
    // Light blue client background from the background cell.
    EXPECT_EQ(active.at(active.width / 2, active.height / 2), RGB(202, 225, 243));
    if (HasFailure()) {
        testpx::saveBmp(active, "frame_active.bmp");
        testpx::saveBmp(inactive, "frame_inactive.bmp");
    }
}

TEST_F(FramePaint, RepaintsLeaveNoGdiObjectBehind) {
    HWND window = attached(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, "泄漏检查",
                           120, 120, 306, 236);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    testpx::pumpMessages(100);
    RECT r;
    GetWindowRect(window, &r);
    auto round = [&](int i) {
        setSkinProp(window, prop::activeState, i & 1);
        SendMessageA(window, WM_NCPAINT, 1, 0);
        setSkinProp(window, prop::closeButton, i % 3);
        paintCaptionButtons(window, nullptr);
        if (i % 10 == 0) {  // the update-region path too
            HRGN update = CreateRectRgn(r.left, r.top, r.right, r.top + 31);
            SendMessageA(window, WM_NCPAINT, reinterpret_cast<WPARAM>(update), 0);
            DeleteObject(update);
        }
    };
    for (int i = 0; i < 50; ++i) round(i);  // the platform's own caches settle first
    const unsigned before = usage::gdiObjects().value;
    // One object kept per paint would show as a thousand (tools/frame_gdi_bench runs the full 10,000).
    for (int i = 0; i < 1000; ++i) round(i);
    EXPECT_EQ(usage::gdiObjects().value, before);
}
