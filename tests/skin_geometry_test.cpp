// The frame's pure geometry: frame pieces, caption buttons, text box, hit codes, button states.
#include <gtest/gtest.h>

#include <cstdio>

#include "skin/attach.h"
#include "skin/geometry.h"

namespace {

SkinSprites sprites() {
    // The table the theme set-up installs, without needing the atlas.
    static const SkinSprites table = [] {
        allocateSkinTables();
        setupTheme(SkinPalette{}, false);
        return *skinSprites;
    }();
    return table;
}

bool same(const SpriteRect& a, const SpriteRect& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

std::string text(const SpriteRect& r) {
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "(%d, %d, %d, %d)", r.x, r.y, r.w, r.h);
    return buffer;
}

constexpr COLORREF kKey = 0xFF00FF;

}  // namespace

TEST(FramePieces, ActiveAndInactiveTables) {
    const int W = 300, H = 200;
    struct Row {
        SpriteRect destination, source;
        COLORREF key;
    };
    const Row active[11] = {
        {{0, 31, 3, H - 31}, {41, 217, 3, 14}, 0},
        {{0, 0, 46, 7}, {0, 31, 46, 7}, kKey},
        {{0, 7, 46, 24}, {0, 38, 46, 24}, 0},
        {{46, 0, W - 99, 7}, {46, 31, 70, 7}, 0},
        {{46, 7, W - 99, 24}, {46, 38, 70, 24}, 0},
        {{W - 53, 0, 53, 7}, {116, 31, 53, 7}, kKey},
        {{W - 53, 7, 53, 24}, {116, 38, 53, 24}, 0},
        {{W - 3, 31, 3, H - 31}, {215, 81, 3, 14}, 0},
        {{0, H - 5, 6, 5}, {193, 26, 6, 5}, kKey},
        {{6, H - 5, W - 12, 5}, {199, 26, 12, 5}, 0},
        {{W - 6, H - 5, 6, 5}, {211, 26, 6, 5}, kKey},
    };
    const Row inactive[11] = {
        {{0, 31, 3, H - 31}, {213, 0, 3, 15}, 0},
        {{0, 0, 42, 7}, {0, 0, 42, 7}, kKey},
        {{0, 7, 42, 24}, {0, 7, 42, 24}, 0},
        {{42, 0, W - 88, 7}, {42, 0, 81, 7}, 0},
        {{42, 7, W - 88, 24}, {42, 7, 81, 24}, 0},
        {{W - 46, 0, 46, 7}, {123, 0, 46, 7}, kKey},
        {{W - 46, 7, 46, 24}, {123, 7, 46, 24}, 0},
        {{W - 3, 31, 3, H - 31}, {213, 62, 3, 14}, 0},
        {{0, H - 5, 6, 5}, {169, 26, 6, 5}, kKey},
        {{6, H - 5, W - 12, 5}, {175, 26, 12, 5}, 0},
        {{W - 6, H - 5, 6, 5}, {187, 26, 6, 5}, kKey},
    };
    for (bool isActive : {true, false}) {
        const auto pieces = framePieces(sprites(), isActive, W, H);
        const Row* expected = isActive ? active : inactive;
        for (int i = 0; i < 11; ++i) {
            SCOPED_TRACE((isActive ? "active piece " : "inactive piece ") + std::to_string(i + 1));
            EXPECT_TRUE(same(pieces[i].destination, expected[i].destination)) << text(pieces[i].destination);
            EXPECT_TRUE(same(pieces[i].source, expected[i].source)) << text(pieces[i].source);
            EXPECT_EQ(pieces[i].key, expected[i].key);
        }
    }
}

TEST(FramePieces, ClientInsets) {
    RECT r{10, 20, 310, 220};
    insetClientArea(sprites(), r);
    EXPECT_EQ(r.left, 13);
    EXPECT_EQ(r.top, 51);
    EXPECT_EQ(r.right, 307);
    EXPECT_EQ(r.bottom, 215);
}

TEST(CaptionButtons, SlotsAndSprites) {
    const int W = 300;
    struct Case {
        const char* name;
        bool active;
        ButtonStates states;
        bool minimized, maximized;
        bool slotsDrawn;
        SpriteCopy min, max, close;
    };
    const Case cases[] = {
        {"all normal", true, {0, 0, 0}, false, false, true,
         {{W - 107, 0, 25, 18}, {75, 137, 25, 18}, kKey},
         {{W - 82, 0, 26, 18}, {170, 102, 26, 18}, 0},
         {{W - 56, 0, 42, 18}, {137, 81, 42, 18}, kKey}},
        {"close hover", true, {0, 0, 1}, false, false, true,
         {{W - 107, 0, 25, 18}, {75, 137, 25, 18}, kKey},
         {{W - 82, 0, 26, 18}, {170, 102, 26, 18}, 0},
         {{W - 56, 0, 42, 18}, {95, 81, 42, 18}, kKey}},
        {"close pressed, minimize hover", true, {1, 0, 2}, false, false, true,
         {{W - 107, 0, 25, 18}, {50, 137, 25, 18}, kKey},
         {{W - 82, 0, 26, 18}, {170, 102, 26, 18}, 0},
         {{W - 56, 0, 42, 18}, {53, 81, 42, 18}, kKey}},
        {"minimized: restore in the minimize slot, a pixel further left", true, {0, 0, 0}, true, false, true,
         {{W - 108, 0, 26, 18}, {66, 102, 26, 18}, kKey},
         {{W - 82, 0, 26, 18}, {170, 102, 26, 18}, 0},
         {{W - 56, 0, 42, 18}, {137, 81, 42, 18}, kKey}},
        {"maximized: restore in the maximize slot", true, {0, 2, 0}, false, true, true,
         {{W - 107, 0, 25, 18}, {75, 137, 25, 18}, kKey},
         {{W - 82, 0, 26, 18}, {14, 102, 26, 18}, kKey},
         {{W - 56, 0, 42, 18}, {137, 81, 42, 18}, kKey}},
        {"maximize box only: minimize slot greyed", true, {3, 0, 0}, false, false, true,
         {{W - 107, 0, 25, 18}, {0, 137, 25, 18}, kKey},
         {{W - 82, 0, 26, 18}, {170, 102, 26, 18}, 0},
         {{W - 56, 0, 42, 18}, {137, 81, 42, 18}, kKey}},
        {"close alone", true, {3, 3, 0}, false, false, false,
         {}, {}, {{W - 56, 0, 42, 18}, {137, 81, 42, 18}, kKey}},
        {"inactive greys every state", false, {1, 2, 1}, false, false, true,
         {{W - 107, 0, 25, 18}, {0, 137, 25, 18}, kKey},
         {{W - 82, 0, 26, 18}, {92, 102, 26, 18}, 0},
         {{W - 56, 0, 42, 18}, {169, 31, 42, 18}, kKey}},
        {"inactive close alone", false, {3, 3, 0}, false, false, false,
         {}, {}, {{W - 56, 0, 42, 18}, {169, 31, 42, 18}, kKey}},
        {"state out of range drawn as normal", true, {7, -1, 9}, false, false, true,
         {{W - 107, 0, 25, 18}, {75, 137, 25, 18}, kKey},
         {{W - 82, 0, 26, 18}, {170, 102, 26, 18}, 0},
         {{W - 56, 0, 42, 18}, {137, 81, 42, 18}, kKey}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto buttons = captionButtons(sprites(), W, c.active, c.states, c.minimized, c.maximized);
        EXPECT_EQ(buttons[0].drawn, c.slotsDrawn);
        EXPECT_EQ(buttons[1].drawn, c.slotsDrawn);
        EXPECT_TRUE(buttons[2].drawn);
        const SpriteCopy* expected[3] = {&c.min, &c.max, &c.close};
        for (int i = c.slotsDrawn ? 0 : 2; i < 3; ++i) {
            SCOPED_TRACE("button " + std::to_string(i));
            EXPECT_TRUE(same(buttons[i].copy.destination, expected[i]->destination))
                << text(buttons[i].copy.destination);
            EXPECT_TRUE(same(buttons[i].copy.source, expected[i]->source)) << text(buttons[i].copy.source);
            EXPECT_EQ(buttons[i].copy.key, expected[i]->key);
        }
    }
}

TEST(CaptionText, BoxFollowsIconAndButtons) {
    const int W = 300;
    struct Case {
        bool showsIcon;
        ButtonStates states;
        RECT box;
    };
    const Case cases[] = {
        {true, {3, 3, 0}, {28, 7, W - 60, 23}},
        {false, {3, 3, 0}, {8, 7, W - 60, 23}},
        {true, {0, 0, 0}, {28, 7, W - 111, 23}},
        {false, {3, 0, 3}, {8, 7, W - 111, 23}},  // one box present keeps the room for both
        {true, {1, 2, 0}, {28, 7, W - 111, 23}},
    };
    for (const Case& c : cases) {
        const RECT box = captionTextBox(sprites(), W, c.showsIcon, c.states);
        EXPECT_EQ(box.left, c.box.left);
        EXPECT_EQ(box.top, c.box.top);
        EXPECT_EQ(box.right, c.box.right);
        EXPECT_EQ(box.bottom, c.box.bottom);
    }
}

TEST(HitTest, PositionIsSignedSixteenBit) {
    const POINT p = pointFromPosition(MAKELPARAM(static_cast<WORD>(-250), static_cast<WORD>(-2)));
    EXPECT_EQ(p.x, -250);
    EXPECT_EQ(p.y, -2);
    const POINT q = pointFromPosition(MAKELPARAM(32767, 1000));
    EXPECT_EQ(q.x, 32767);
    EXPECT_EQ(q.y, 1000);
}

TEST(HitTest, FrameTable) {
    const RECT w{100, 200, 400, 500};
    const int Lw = w.left, Tw = w.top, Rw = w.right, Bw = w.bottom;
    FrameHitInput full;  // system menu, icon, minimize and maximize boxes
    full.systemMenu = true;
    full.hasIcon = true;
    FrameHitInput closeOnly = full;
    closeOnly.states = {3, 3, 0};
    FrameHitInput noMenu;
    noMenu.states = {3, 3, 3};
    FrameHitInput zoomed = full;
    zoomed.zoomed = true;
    FrameHitInput minimized = full;
    minimized.minimized = true;
    struct Case {
        const char* name;
        const FrameHitInput& input;
        int x, y;
        int code;
    };
    const Case cases[] = {
        {"minimize left edge", full, Rw - 107, Tw, HTMINBUTTON},
        {"minimize right edge, bottom row", full, Rw - 83, Tw + 18, HTMINBUTTON},
        {"between caption and strip", full, Rw - 108, Tw + 8, HTCLIENT},
        {"maximize left edge", full, Rw - 82, Tw, HTMAXBUTTON},
        {"shared column goes to maximize", full, Rw - 56, Tw + 3, HTMAXBUTTON},
        {"close left edge", full, Rw - 55, Tw, HTCLOSE},
        {"close right edge", full, Rw - 14, Tw + 18, HTCLOSE},
        {"below the strip", full, Rw - 40, Tw + 19, HTCLIENT},
        {"right of the strip", full, Rw - 13, Tw + 8, HTCLIENT},
        {"minimized: restore slot is wider", minimized, Rw - 108, Tw, HTMINBUTTON},
        {"minimized: first maximize column", minimized, Rw - 83, Tw, HTMAXBUTTON},
        {"close alone: left edge", closeOnly, Rw - 56, Tw, HTCLOSE},
        {"close alone: last column and row", closeOnly, Rw - 15, Tw + 17, HTCLOSE},
        {"close alone: right edge excluded", closeOnly, Rw - 14, Tw + 8, HTCLIENT},
        {"close alone: bottom row excluded", closeOnly, Rw - 30, Tw + 18, HTCLIENT},
        {"close alone: caption runs to Rw - 60", closeOnly, Rw - 61, Tw + 20, HTCAPTION},
        {"close alone: gap before the button", closeOnly, Rw - 60, Tw + 20, HTCLIENT},
        {"icon top-left", full, Lw + 8, Tw + 7, HTSYSMENU},
        {"icon bottom-right", full, Lw + 23, Tw + 22, HTSYSMENU},
        {"between icon and caption", full, Lw + 25, Tw + 10, HTCLIENT},
        {"caption starts after the icon", full, Lw + 28, Tw + 7, HTCAPTION},
        {"caption last row", full, Rw - 112, Tw + 30, HTCAPTION},
        {"caption right edge excluded", full, Rw - 111, Tw + 20, HTCLIENT},
        {"row under the caption", full, Lw + 50, Tw + 31, HTCLIENT},
        {"row between top zone and caption (5)", full, Lw + 50, Tw + 5, HTCLIENT},
        {"row between top zone and caption (6)", full, Lw + 50, Tw + 6, HTCLIENT},
        {"top zone", full, Lw + 50, Tw + 4, HTTOP},
        {"left zone", full, Lw, Tw + 10, HTLEFT},
        {"left zone inner column", full, Lw + 4, Bw - 10, HTLEFT},
        {"inside the left zone's reach", full, Lw + 5, Tw + 100, HTCLIENT},
        {"right zone on the edge column", full, Rw, Tw + 100, HTRIGHT},
        {"right zone inner column", full, Rw - 4, Tw + 100, HTRIGHT},
        {"inside the right zone's reach", full, Rw - 5, Tw + 100, HTCLIENT},
        {"bottom zone", full, Lw + 50, Bw - 4, HTBOTTOM},
        {"bottom zone edge row", full, Lw + 10, Bw, HTBOTTOM},
        {"top-left corner", full, Lw + 2, Tw + 8, HTTOPLEFT},
        {"top-right corner", full, Rw, Tw, HTTOPRIGHT},
        {"bottom-left corner", full, Lw, Bw, HTBOTTOMLEFT},
        {"bottom-right corner", full, Rw - 10, Bw - 10, HTBOTTOMRIGHT},
        {"next to the bottom-right corner", full, Rw - 11, Bw - 10, HTCLIENT},
        {"zoomed: no resize zones", zoomed, Lw, Tw + 100, HTCLIENT},
        {"zoomed: caption still moves", zoomed, Lw + 50, Tw + 10, HTCAPTION},
        {"no system menu: caption from Lw + 8", noMenu, Lw + 8, Tw + 7, HTCAPTION},
        {"no system menu: caption to the right edge", noMenu, Rw - 1, Tw + 20, HTCAPTION},
        {"no system menu: close box still answers", noMenu, Rw - 30, Tw + 5, HTCLOSE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frameHitCode(sprites(), w, {c.x, c.y}, c.input), c.code) << c.name;
    }
}

TEST(HitTest, WindowLeftOfAndAboveTheScreenOrigin) {
    const RECT w{-500, -300, -200, 0};
    FrameHitInput input;
    input.systemMenu = true;
    input.hasIcon = true;
    auto at = [&](int x, int y) {
        const LPARAM position = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
        return frameHitCode(sprites(), w, pointFromPosition(position), input);
    };
    EXPECT_EQ(at(-400, -280), HTCAPTION);
    EXPECT_EQ(at(-230, -295), HTCLOSE);
    EXPECT_EQ(at(-500, -150), HTLEFT);
    EXPECT_EQ(at(-250, -2), HTBOTTOM);
}

TEST(HitTest, IconBoxKeepsTheHalfPixelBeforeTruncating) {
    struct Case {
        int top, iconTop;
    };
    for (const Case c : {Case{0, 7}, Case{200, 207}, Case{-7, 0}, Case{-8, 0}, Case{-20, -12}}) {
        const RECT box = iconBoxOnScreen(sprites(), {10, c.top, 300, c.top + 200});
        EXPECT_EQ(box.top, c.iconTop) << "window top " << c.top;
        EXPECT_EQ(box.left, 18);
        EXPECT_EQ(box.right, 34);
        EXPECT_EQ(box.bottom, c.iconTop + 16);
    }
}

TEST(ButtonStateMachine, HoverPressRelease) {
    // Hover: the slot under the pointer lights, other live slots go back, 3 never changes.
    EXPECT_EQ(hoverOver({0, 0, 0}, kCloseSlot), (ButtonStates{0, 0, 1}));
    EXPECT_EQ(hoverOver({2, 0, 0}, kCloseSlot), (ButtonStates{0, 0, 1}));
    EXPECT_EQ(hoverOver({2, 1, 0}, kMinimizeSlot), (ButtonStates{2, 0, 0}));
    EXPECT_EQ(hoverOver({3, 3, 1}, kCloseSlot), (ButtonStates{3, 3, 1}));
    EXPECT_EQ(clearLive({1, 2, 3}), (ButtonStates{0, 0, 3}));

    ButtonStates states{0, 3, 1};
    EXPECT_EQ(pressSlot(states, HTMAXBUTTON), kNoSlot);  // unavailable: the platform's default path
    EXPECT_EQ(pressSlot(states, HTCAPTION), kNoSlot);
    EXPECT_EQ(pressSlot(states, HTCLOSE), kCloseSlot);
    EXPECT_EQ(states, (ButtonStates{0, 3, 2}));
    EXPECT_EQ(releaseSlot(states, HTMINBUTTON), kNoSlot);  // released elsewhere: stays pressed
    EXPECT_EQ(states, (ButtonStates{0, 3, 2}));
    EXPECT_EQ(releaseSlot(states, HTCLOSE), kCloseSlot);
    EXPECT_EQ(states, (ButtonStates{0, 3, 1}));
    EXPECT_EQ(releaseSlot(states, HTCLOSE), kNoSlot);  // not pressed: nothing to post
}

TEST(Classify, ByExactClassNameAndButtonType) {
    struct Case {
        const char* name;
        LONG style;
        WindowKind kind;
    };
    const Case cases[] = {
        {formWindowClass, 0, WindowKind::frame},
        {"#32770", WS_CHILD, WindowKind::frame},
        {"Button", BS_PUSHBUTTON, WindowKind::pushButton},
        {"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, WindowKind::pushButton},
        {"Button", BS_CHECKBOX, WindowKind::checkBox},
        {"Button", BS_AUTOCHECKBOX, WindowKind::checkBox},
        {"Button", BS_RADIOBUTTON, WindowKind::radioButton},
        {"Button", BS_AUTORADIOBUTTON, WindowKind::radioButton},
        {"Button", BS_OWNERDRAW, WindowKind::dropDownButton},
        {"Button", BS_3STATE, WindowKind::none},
        {"Button", BS_GROUPBOX, WindowKind::none},
        {"Button", BS_PUSHBOX, WindowKind::none},
        {"Button", 15, WindowKind::none},
        {"Edit", 0, WindowKind::editBox},
        {"ComboBox", 0, WindowKind::comboBox},
        {"msctls_progress32", 0, WindowKind::progressBar},
        {"button", BS_PUSHBUTTON, WindowKind::none},
        {"EDIT", 0, WindowKind::none},
        {"ListBox", 0, WindowKind::none},
        {"ComboLBox", 0, WindowKind::none},
        {"Static", 0, WindowKind::none},
    };
    for (const Case& c : cases) EXPECT_EQ(windowKind(c.name, c.style), c.kind) << c.name << " " << c.style;
}
