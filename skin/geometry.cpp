#include "skin/geometry.h"

#include "skin/attach.h"

namespace {

constexpr int kButtonRightGap = 14;  // pixels between the close button and the window's right edge
constexpr int kTextGap = 4;          // between the caption text and the first button
constexpr int kIconLeft = 8;
constexpr int kIconSize = 16;
constexpr int kTextLeftAfterIcon = 28;
constexpr int kResizeDepth = 4;    // the border zones
constexpr int kCornerReach = 10;   // the corner zones, and where the side zones start

const Sprite& side(const SpritePair& pair, bool active) { return active ? pair.active : pair.inactive; }

// A state outside 0..3 is drawn as normal.
int stateIndex(intptr_t state) { return state >= 0 && state <= 3 ? static_cast<int>(state) : 0; }

bool isLive(intptr_t state) { return state == kButtonHover || state == kButtonPressed; }

bool onlyCloseButton(const ButtonStates& s) {
    return s.minimize == kButtonUnavailable && s.maximize == kButtonUnavailable;
}

// Right edge of the caption (text box or caption rectangle) left of the buttons, from `right`.
int captionRightEdge(const SkinSprites& sp, int right, const ButtonStates& states) {
    if (onlyCloseButton(states)) return right - kButtonRightGap - sp.closeButton.state[0].w - kTextGap;
    return right - kButtonRightGap - sp.closeButton.state[0].w - sp.maximizeButton.state[0].w -
           sp.minimizeButton.state[0].w - kTextGap;
}

bool inside(int value, int low, int high) { return low <= value && value <= high; }

}  // namespace

intptr_t& ButtonStates::operator[](CaptionSlot slot) {
    switch (slot) {
        case kMinimizeSlot: return minimize;
        case kMaximizeSlot: return maximize;
        default: return close;
    }
}

void insetClientArea(const SkinSprites& sp, RECT& r) {
    r.left += sp.leftBorder.active.w;
    r.top += sp.caption.active.h;
    r.right -= sp.rightBorder.active.w;
    r.bottom -= sp.bottomBorder.active.h;
}

std::array<SpriteCopy, 11> framePieces(const SkinSprites& sp, bool active, int W, int H) {
    const Sprite& L = side(sp.leftBorder, active);
    const Sprite& C = side(sp.caption, active);
    const Sprite& R = side(sp.rightBorder, active);
    const Sprite& B = side(sp.bottomBorder, active);
    const int middleW = W - C.mL - C.mR, middleSrcW = C.w - C.mL - C.mR, lowerH = C.h - C.mT;
    const int bottomW = W - B.mL - B.mR, bottomSrcW = B.w - B.mL - B.mR;
    return {{
        {{0, C.h, L.w, H - C.h}, {L.x, L.y, L.w, L.h}, sp.leftBorder.key},
        {{0, 0, C.mL, C.mT}, {C.x, C.y, C.mL, C.mT}, sp.caption.key},
        {{0, C.mT, C.mL, lowerH}, {C.x, C.y + C.mT, C.mL, lowerH}, 0},
        {{C.mL, 0, middleW, C.mT}, {C.x + C.mL, C.y, middleSrcW, C.mT}, 0},
        {{C.mL, C.mT, middleW, lowerH}, {C.x + C.mL, C.y + C.mT, middleSrcW, lowerH}, 0},
        {{W - C.mR, 0, C.mR, C.mT}, {C.x + C.w - C.mR, C.y, C.mR, C.mT}, sp.caption.key},
        {{W - C.mR, C.mT, C.mR, lowerH}, {C.x + C.w - C.mR, C.y + C.mT, C.mR, lowerH}, 0},
        {{W - R.w, C.h, R.w, H - C.h}, {R.x, R.y, R.w, R.h}, sp.rightBorder.key},
        {{0, H - B.h, B.mL, B.h}, {B.x, B.y, B.mL, B.h}, sp.bottomBorder.key},
        {{B.mL, H - B.h, bottomW, B.h}, {B.x + B.mL, B.y, bottomSrcW, B.h}, 0},
        {{W - B.mR, H - B.h, B.mR, B.h}, {B.x + B.w - B.mR, B.y, B.mR, B.h}, sp.bottomBorder.key},
    }};
}

int captionIconTop(const SkinSprites& sp) { return (sp.caption.active.h - kIconSize) / 2; }

std::array<CaptionButtonCopy, 3> captionButtons(const SkinSprites& sp, int W, bool active, const ButtonStates& states,
                                                bool minimized, bool maximized) {
    const StateSprites& s1 = minimized ? sp.restoreButton : sp.minimizeButton;
    const StateSprites& s2 = maximized ? sp.restoreButton : sp.maximizeButton;
    const StateSprites& close = sp.closeButton;
    const int k = active ? 0 : 3;
    const int minX = W - s1.state[k].w - sp.maximizeButton.state[k].w - close.state[k].w - kButtonRightGap;
    const int maxX = W - s2.state[k].w - close.state[k].w - kButtonRightGap;
    const int closeX = W - close.state[k].w - kButtonRightGap;

    auto rect = [active](const StateSprites& set, intptr_t state) {
        return set.state[active ? stateIndex(state) : 3];
    };
    auto at = [](int x, const SpriteRect& src, COLORREF key) {
        return SpriteCopy{{x, 0, src.w, src.h}, src, key};
    };
    // Minimize and maximize slots go together: both are left out only when both are unavailable.
    const bool slotsDrawn = !onlyCloseButton(states);
    const SpriteRect minSrc = rect(s1, states.minimize);
    const SpriteRect maxSrc = rect(s2, states.maximize);
    const SpriteRect closeSrc = rect(close, states.close);
    return {{
        {slotsDrawn, at(minX, minSrc, s1.key)},
        {slotsDrawn, at(maxX, maxSrc, s2.key)},
        {true, at(closeX, closeSrc, close.key)},
    }};
}

RECT captionTextBox(const SkinSprites& sp, int W, bool showsIcon, const ButtonStates& states) {
    const int top = captionIconTop(sp);
    return {showsIcon ? kTextLeftAfterIcon : kIconLeft, top, captionRightEdge(sp, W, states), top + kIconSize};
}

POINT pointFromPosition(LPARAM position) {
    return {static_cast<int16_t>(position & 0xFFFF), static_cast<int16_t>((position >> 16) & 0xFFFF)};
}

CaptionSlot captionButtonAt(const SkinSprites& sp, const RECT& w, POINT p, const ButtonStates& states,
                            bool minimized) {
    const SpriteRect& close = sp.closeButton.state[0];
    const SpriteRect& max = sp.maximizeButton.state[0];
    const SpriteRect& min = sp.minimizeButton.state[0];
    if (onlyCloseButton(states)) {
        const RECT box{w.right - close.w - kButtonRightGap, w.top, w.right - kButtonRightGap, w.top + close.h};
        return PtInRect(&box, p) ? kCloseSlot : kNoSlot;
    }
    const SpriteRect& s1 = (minimized ? sp.restoreButton : sp.minimizeButton).state[0];
    const int l = w.right - s1.w - max.w - close.w - kButtonRightGap;
    if (!inside(p.x, l, l + min.w + max.w + close.w) || !inside(p.y, w.top, w.top + min.h)) return kNoSlot;
    const int k = l + min.w;
    if (inside(p.x, k, k + max.w)) return kMaximizeSlot;
    if (inside(p.x, k + max.w, k + max.w + close.w)) return kCloseSlot;
    if (p.x <= l + s1.w) return kMinimizeSlot;
    return kNoSlot;
}

RECT iconBoxOnScreen(const SkinSprites& sp, const RECT& w) {
    const int left = w.left + kIconLeft;
    // Tw + 7.5 truncated toward zero: Tw + 7 from Tw = -7 upwards, Tw + 8 below.
    const int top = static_cast<int>(w.top + (sp.caption.active.h - kIconSize) / 2.0);
    return {left, top, left + kIconSize, top + kIconSize};
}

int frameHitCode(const SkinSprites& sp, const RECT& w, POINT p, const FrameHitInput& in) {
    switch (captionButtonAt(sp, w, p, in.states, in.minimized)) {
        case kCloseSlot: return HTCLOSE;
        case kMaximizeSlot: return HTMAXBUTTON;
        case kMinimizeSlot: return HTMINBUTTON;
        default: break;
    }
    const Sprite& C = sp.caption.active;
    RECT caption{w.left + kIconLeft, w.top + C.mT, w.right, w.top + C.h};
    if (in.systemMenu) {
        const RECT icon = iconBoxOnScreen(sp, w);
        if (in.hasIcon && PtInRect(&icon, p)) return HTSYSMENU;
        caption.left = w.left + (in.hasIcon ? kTextLeftAfterIcon : kIconLeft);
        caption.right = captionRightEdge(sp, w.right, in.states);
    }
    if (PtInRect(&caption, p)) return HTCAPTION;
    if (in.zoomed) return HTCLIENT;

    const int x = p.x, y = p.y;
    const bool sideRows = inside(y, w.top + kCornerReach, w.bottom - kCornerReach);
    const bool middleColumns = inside(x, w.left + kCornerReach, w.right - kCornerReach);
    if (inside(x, w.left, w.left + kResizeDepth) && sideRows) return HTLEFT;
    if (inside(x, w.right - kResizeDepth, w.right) && sideRows) return HTRIGHT;
    if (middleColumns && inside(y, w.top, w.top + kResizeDepth)) return HTTOP;
    if (middleColumns && inside(y, w.bottom - kResizeDepth, w.bottom)) return HTBOTTOM;
    if (x <= w.left + kCornerReach && y <= w.top + kCornerReach) return HTTOPLEFT;
    if (x >= w.right - kCornerReach && y <= w.top + kCornerReach) return HTTOPRIGHT;
    if (x <= w.left + kCornerReach && y >= w.bottom - kCornerReach) return HTBOTTOMLEFT;
    if (x >= w.right - kCornerReach && y >= w.bottom - kCornerReach) return HTBOTTOMRIGHT;
    return HTCLIENT;
}

CaptionSlot slotOfHitCode(WPARAM hitCode) {
    switch (hitCode) {
        case HTMINBUTTON: return kMinimizeSlot;
        case HTMAXBUTTON: return kMaximizeSlot;
        case HTCLOSE: return kCloseSlot;
        default: return kNoSlot;
    }
}

ButtonStates hoverOver(ButtonStates states, CaptionSlot slot) {
    for (CaptionSlot s : {kMinimizeSlot, kMaximizeSlot, kCloseSlot}) {
        intptr_t& state = states[s];
        if (s == slot) {
            if (state == kButtonNormal) state = kButtonHover;
        } else if (isLive(state)) {
            state = kButtonNormal;
        }
    }
    return states;
}

ButtonStates clearLive(ButtonStates states) {
    for (CaptionSlot s : {kMinimizeSlot, kMaximizeSlot, kCloseSlot})
        if (isLive(states[s])) states[s] = kButtonNormal;
    return states;
}

CaptionSlot pressSlot(ButtonStates& states, WPARAM hitCode) {
    const CaptionSlot slot = slotOfHitCode(hitCode);
    if (slot == kNoSlot || states[slot] == kButtonUnavailable) return kNoSlot;
    states[slot] = kButtonPressed;
    return slot;
}

CaptionSlot releaseSlot(ButtonStates& states, WPARAM hitCode) {
    const CaptionSlot slot = slotOfHitCode(hitCode);
    if (slot == kNoSlot || states[slot] != kButtonPressed) return kNoSlot;
    states[slot] = kButtonHover;
    return slot;
}
