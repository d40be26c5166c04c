// Painting of the skinned frame: the eleven border and caption pieces, icon, caption buttons and
// caption text, all copied out of the atlas through drawSprite.
#include "skin/attach.h"
#include "skin/frame.h"
#include "skin/gdi.h"

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

void drawSprite(HDC dc, const SpriteRect& d, const SpriteRect& s, COLORREF key) {
    // Nothing to copy from once the main window has taken the atlas with it, and nothing to draw
    // for a piece squeezed to nothing by a tiny window.
    if (!atlasDC || !dc || d.w <= 0 || d.h <= 0 || s.w <= 0 || s.h <= 0) return;
    if (key == 0) {
        copyFromAtlas(dc, d.x, d.y, d, s);
        return;
    }
    gdi::MemoryDC colourDC(dc);
    gdi::MemoryDC maskDC(dc);
    gdi::Bitmap colour(CreateCompatibleBitmap(dc, d.w, d.h));
    gdi::Bitmap mask(CreateBitmap(d.w, d.h, 1, 1, nullptr));
    if (!colourDC.get() || !maskDC.get() || !colour || !mask) return;
    gdi::Select colourSelected(colourDC, colour);
    gdi::Select maskSelected(maskDC, mask);

    copyFromAtlas(colourDC, 0, 0, d, s);
    // Mask: 1 where the sprite shows the key.
    SetBkColor(colourDC, key);
    BitBlt(maskDC, 0, 0, d.w, d.h, colourDC, 0, 0, SRCCOPY);
    // Key pixels of the sprite become black, so OR-ing it below leaves the destination there.
    SetBkColor(colourDC, kBlack);
    SetTextColor(colourDC, kWhite);
    BitBlt(colourDC, 0, 0, d.w, d.h, maskDC, 0, 0, SRCAND);
    // Destination: black under the opaque sprite pixels, untouched under the key, then the sprite.
    const COLORREF oldBack = SetBkColor(dc, kWhite);
    const COLORREF oldText = SetTextColor(dc, kBlack);
    BitBlt(dc, d.x, d.y, d.w, d.h, maskDC, 0, 0, SRCAND);
    BitBlt(dc, d.x, d.y, d.w, d.h, colourDC, 0, 0, SRCPAINT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
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
    if (!getSkinProp(window, prop::captionBar)) return;
    const bool active = getSkinProp(window, prop::activeState) != 0;
    const auto icon = reinterpret_cast<HICON>(getSkinProp(window, prop::iconHandle));
    const bool systemMenu = getSkinProp(window, prop::systemMenu) != 0;
    const SIZE size = windowSize(window);

    for (const SpriteCopy& piece : framePieces(*skinSprites, active, size.cx, size.cy))
        drawSprite(dc, piece.destination, piece.source, piece.key);
    if (systemMenu && icon)
        DrawIconEx(dc, 8, captionIconTop(*skinSprites), icon, 16, 16, 0, nullptr, DI_NORMAL);
    paintCaptionButtons(window, dc);
    paintCaptionText(window, dc);
}

void paintCaptionButtons(HWND window, HDC context) {
    if (!getSkinProp(window, prop::systemMenu)) return;
    const bool active = getSkinProp(window, prop::activeState) != 0;
    const ButtonStates states = readButtonStates(window);
    const bool minimized = isSkinMinimized(window), maximized = isSkinMaximized(window);
    gdi::WindowContext owned(window, context ? nullptr : GetWindowDC(window));
    HDC dc = context ? context : owned.get();
    const SIZE size = windowSize(window);
    for (const CaptionButtonCopy& button : captionButtons(*skinSprites, size.cx, active, states, minimized, maximized))
        if (button.drawn) drawSprite(dc, button.copy.destination, button.copy.source, button.copy.key);
}

void paintCaptionText(HWND window, HDC dc) {
    if (!getSkinProp(window, prop::captionBar)) return;
    const bool showsIcon = getSkinProp(window, prop::systemMenu) != 0 && getSkinProp(window, prop::iconHandle) != 0;
    const std::string text = readCaptionTextBlock(reinterpret_cast<HGLOBAL>(getSkinProp(window, prop::captionText)));
    if (text.empty()) return;
    RECT box = captionTextBox(*skinSprites, windowSize(window).cx, showsIcon, readButtonStates(window));
    gdi::SavedState saved(dc);
    SetTextColor(dc, skinSprites->captionTextColor);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &box, kCaptionTextFormat);
}

void paintClientBackground(HDC dc, const RECT& r) {
    drawSprite(dc, {r.left, r.top, r.right - r.left, r.bottom - r.top}, skinSprites->backgroundCell, 0);
}
