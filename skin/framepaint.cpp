// Painting of the skinned frame: the eleven border and caption pieces, icon, caption buttons and
// caption text, all copied out of the atlas through drawSprite.
#include "skin/attach.h"
#include "skin/frame.h"
#include "skin/gdi.h"

#include <algorithm>
#include <array>

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr UINT kCaptionTextFormat = DT_SINGLELINE | DT_WORDBREAK | DT_VCENTER;

SIZE windowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// Copies the source rectangle of the atlas to (x, y) of `target`, stretched to the destination size.
void copyFromAtlas(HDC target, int x, int y, const SpriteRect& d, const SpriteRect& s) {
    if (d.w == s.w && d.h == s.h) {
        BitBlt(target, x, y, d.w, d.h, atlasDC, s.x, s.y, SRCCOPY);
    } else {
        SetStretchBltMode(target, HALFTONE);
        StretchBlt(target, x, y, d.w, d.h, atlasDC, s.x, s.y, s.w, s.h, SRCCOPY);
    }
}

}  // namespace

ButtonStates readButtonStates(HWND window) {
    return {getSkinProp(window, prop::minimizeButton), getSkinProp(window, prop::maximizeButton),
            getSkinProp(window, prop::closeButton)};
}

void writeButtonStates(HWND window, const ButtonStates& s) {
    setSkinProp(window, prop::minimizeButton, s.minimize);
    setSkinProp(window, prop::maximizeButton, s.maximize);
    setSkinProp(window, prop::closeButton, s.close);
}

bool isSkinMinimized(HWND window) { return getSkinProp(window, prop::restoreFlag) != 0 && !IsZoomed(window); }
bool isSkinMaximized(HWND window) { return getSkinProp(window, prop::restoreFlag) != 0 && IsZoomed(window); }

namespace {

// The colour image and one-bit mask a keyed copy goes through, each in a memory context of its own.
// A paint makes one pair, large enough for its largest keyed piece, and every keyed piece of that
// paint reuses it; the pair is deleted when the paint ends.
class KeyScratch {
public:
    KeyScratch(HDC reference, int width, int height)
        : colourDC_(reference), maskDC_(reference),
          colour_(CreateCompatibleBitmap(reference, width, height)), mask_(CreateBitmap(width, height, 1, 1, nullptr)),
          colourSelected_(colourDC_, colour_), maskSelected_(maskDC_, mask_), width_(width), height_(height) {}
    bool fits(const SpriteRect& d) const {
        return colourDC_.get() && maskDC_.get() && colour_ && mask_ && d.w <= width_ && d.h <= height_;
    }
    HDC colour() const { return colourDC_; }
    HDC mask() const { return maskDC_; }

private:
    gdi::MemoryDC colourDC_, maskDC_;
    gdi::Bitmap colour_, mask_;
    gdi::Select colourSelected_, maskSelected_;
    int width_, height_;
};

bool drawable(const SpriteRect& d, const SpriteRect& s) {
    return d.w > 0 && d.h > 0 && s.w > 0 && s.h > 0;
}

// The keyed copy through the scratch pair, which is at least the destination's size.
void keyedCopy(HDC dc, const KeyScratch& k, const SpriteRect& d, const SpriteRect& s, COLORREF key) {
    copyFromAtlas(k.colour(), 0, 0, d, s);
    // Mask: 1 where the sprite shows the key.
    SetBkColor(k.colour(), key);
    BitBlt(k.mask(), 0, 0, d.w, d.h, k.colour(), 0, 0, SRCCOPY);
    // Key pixels of the sprite become black, so OR-ing it below leaves the destination there.
    SetBkColor(k.colour(), kBlack);
    SetTextColor(k.colour(), kWhite);
    BitBlt(k.colour(), 0, 0, d.w, d.h, k.mask(), 0, 0, SRCAND);
    // Destination: black under the opaque sprite pixels, untouched under the key, then the sprite.
    const COLORREF oldBack = SetBkColor(dc, kWhite);
    const COLORREF oldText = SetTextColor(dc, kBlack);
    BitBlt(dc, d.x, d.y, d.w, d.h, k.mask(), 0, 0, SRCAND);
    BitBlt(dc, d.x, d.y, d.w, d.h, k.colour(), 0, 0, SRCPAINT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

// drawSprite with the paint's scratch pair; a piece the pair cannot hold gets a pair of its own.
void drawSpriteWith(HDC dc, const KeyScratch* scratch, const SpriteRect& d, const SpriteRect& s, COLORREF key) {
    if (!atlasDC || !dc || !drawable(d, s)) return;
    if (key == 0) return copyFromAtlas(dc, d.x, d.y, d, s);
    if (scratch && scratch->fits(d)) return keyedCopy(dc, *scratch, d, s, key);
    const KeyScratch own(dc, d.w, d.h);
    if (own.fits(d)) keyedCopy(dc, own, d, s, key);
}

// What one paint of the frame needs from the window, read once per paint.
struct FrameState {
    bool captionBar = false, active = false, systemMenu = false, minimized = false, maximized = false;
    HICON icon = nullptr;
    ButtonStates states{};
    SIZE size{};
};

FrameState readFrameState(HWND window) {
    FrameState s;
    s.captionBar = getSkinProp(window, prop::captionBar) != 0;
    s.active = getSkinProp(window, prop::activeState) != 0;
    s.systemMenu = getSkinProp(window, prop::systemMenu) != 0;
    s.icon = reinterpret_cast<HICON>(getSkinProp(window, prop::iconHandle));
    s.states = readButtonStates(window);
    const bool restore = getSkinProp(window, prop::restoreFlag) != 0;
    const bool zoomed = restore && IsZoomed(window);
    s.minimized = restore && !zoomed;
    s.maximized = zoomed;
    s.size = windowSize(window);
    return s;
}

using CaptionButtonCopies = std::array<CaptionButtonCopy, 3>;

CaptionButtonCopies captionButtonCopies(const FrameState& s) {
    return captionButtons(*skinSprites, s.size.cx, s.active, s.states, s.minimized, s.maximized);
}

// Grows the paint's scratch size to hold a keyed copy.
void holdKeyed(SIZE& size, const SpriteCopy& copy) {
    if (!copy.key || !drawable(copy.destination, copy.source)) return;
    size.cx = std::max<LONG>(size.cx, copy.destination.w);
    size.cy = std::max<LONG>(size.cy, copy.destination.h);
}

void holdKeyed(SIZE& size, const CaptionButtonCopies& buttons) {
    for (const CaptionButtonCopy& button : buttons)
        if (button.drawn) holdKeyed(size, button.copy);
}

void drawCaptionButtons(HDC dc, const KeyScratch& scratch, const CaptionButtonCopies& buttons) {
    for (const CaptionButtonCopy& button : buttons)
        if (button.drawn) drawSpriteWith(dc, &scratch, button.copy.destination, button.copy.source, button.copy.key);
}

void drawCaptionText(HDC dc, HWND window, const FrameState& s) {
    const std::string text = readCaptionTextBlock(reinterpret_cast<HGLOBAL>(getSkinProp(window, prop::captionText)));
    if (text.empty()) return;
    RECT box = captionTextBox(*skinSprites, s.size.cx, s.systemMenu && s.icon, s.states);
    gdi::SavedState saved(dc);
    SetTextColor(dc, skinSprites->captionTextColor);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &box, kCaptionTextFormat);
}

}  // namespace

void drawSprite(HDC dc, const SpriteRect& d, const SpriteRect& s, COLORREF key) {
    // Nothing to copy from once the main window has taken the atlas with it, and nothing to draw
    // for a piece squeezed to nothing by a tiny window.
    drawSpriteWith(dc, nullptr, d, s, key);
}

LRESULT calcClientArea(RECT* rectangle) {
    if (rectangle) insetClientArea(*skinSprites, *rectangle);
    return 0;
}

void paintNonClient(HWND window, HRGN region) {
    HDC dc = nullptr;
    if (region != reinterpret_cast<HRGN>(1)) {
        // GetDCEx owns the clip region it is given and deletes it on release, while the update
        // region stays the sender's: hand it a copy.
        HRGN clip = CreateRectRgn(0, 0, 0, 0);
        if (clip && CombineRgn(clip, region, nullptr, RGN_COPY) != ERROR)
            dc = GetDCEx(window, clip, DCX_WINDOW | DCX_CACHE | DCX_INTERSECTRGN);
        if (!dc && clip) DeleteObject(clip);
    }
    if (!dc) dc = GetWindowDC(window);
    gdi::WindowContext context(window, dc);
    paintFrame(context, window);
}

void paintFrame(HDC dc, HWND window) {
    const FrameState s = readFrameState(window);
    if (!s.captionBar) return;
    const auto pieces = framePieces(*skinSprites, s.active, s.size.cx, s.size.cy);
    const CaptionButtonCopies buttons = captionButtonCopies(s);
    // One pair of images for every keyed piece and button of this paint.
    SIZE scratchSize{1, 1};
    for (const SpriteCopy& piece : pieces) holdKeyed(scratchSize, piece);
    if (s.systemMenu) holdKeyed(scratchSize, buttons);
    const KeyScratch scratch(dc, scratchSize.cx, scratchSize.cy);

    for (const SpriteCopy& piece : pieces) drawSpriteWith(dc, &scratch, piece.destination, piece.source, piece.key);
    if (s.systemMenu && s.icon)
        DrawIconEx(dc, 8, captionIconTop(*skinSprites), s.icon, 16, 16, 0, nullptr, DI_NORMAL);
    if (s.systemMenu) drawCaptionButtons(dc, scratch, buttons);
    drawCaptionText(dc, window, s);
}

void paintCaptionButtons(HWND window, HDC context) {
    const FrameState s = readFrameState(window);
    if (!s.systemMenu) return;
    gdi::WindowContext owned(window, context ? nullptr : GetWindowDC(window));
    HDC dc = context ? context : owned.get();
    const CaptionButtonCopies buttons = captionButtonCopies(s);
    SIZE scratchSize{1, 1};
    holdKeyed(scratchSize, buttons);
    const KeyScratch scratch(dc, scratchSize.cx, scratchSize.cy);
    drawCaptionButtons(dc, scratch, buttons);
}

void paintCaptionText(HWND window, HDC dc) {
    const FrameState s = readFrameState(window);
    if (!s.captionBar) return;
    drawCaptionText(dc, window, s);
}

void paintClientBackground(HDC dc, const RECT& r) {
    drawSprite(dc, {r.left, r.top, r.right - r.left, r.bottom - r.top}, skinSprites->backgroundCell, 0);
}
