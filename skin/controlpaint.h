// Small pieces shared by the control painters and procedures.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "skin/gdi.h"

// An off-screen surface of w × h compatible with a target, for faces that must appear in one copy.
class OffscreenSurface {
public:
    OffscreenSurface(HDC target, int w, int h)
        : dc_(target), bitmap_(CreateCompatibleBitmap(target, w, h)), selected_(dc_, bitmap_), w_(w), h_(h) {}
    HDC dc() const noexcept { return dc_; }
    // Copies the surface to (0, 0) of the target; pixels of exactly magenta keep what the target had.
    void copyTo(HDC target, int width, int height) const {
        TransparentBlt(target, 0, 0, width, height, dc_, 0, 0, w_, h_, RGB(255, 0, 255));
    }

private:
    gdi::MemoryDC dc_;
    gdi::Bitmap bitmap_;
    gdi::Select selected_;  // put back before the bitmap and the context go
    int w_, h_;
};

inline void fillSolid(HDC dc, const RECT& area, COLORREF colour) {
    gdi::Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush);
}

// The round-rectangle region (left, top, right, bottom): columns left..right-2, rows top..bottom-2.
// A 2 × 2 corner ellipse takes off exactly the four corner pixels; some platforms keep them, so that
// case is built here and the look does not depend on the platform.
inline HRGN createRoundRectRegion(int left, int top, int right, int bottom, int ellipse) {
    if (ellipse != 2) return CreateRoundRectRgn(left, top, right, bottom, ellipse, ellipse);
    HRGN region = CreateRectRgn(left, top, right - 1, bottom - 1);
    if (right - left < 3 || bottom - top < 3) return region;
    for (const POINT corner : {POINT{left, top}, POINT{right - 2, top}, POINT{left, bottom - 2}, POINT{right - 2, bottom - 2}}) {
        gdi::Region pixel(CreateRectRgn(corner.x, corner.y, corner.x + 1, corner.y + 1));
        CombineRgn(region, region, pixel, RGN_DIFF);
    }
    return region;
}

// Frames that region along its inside edge; an ellipse of 0 gives a plain rectangle.
inline void frameRoundRect(HDC dc, int left, int top, int right, int bottom, COLORREF colour, int ellipse = 2,
                           int frameWidth = 1, int frameHeight = 1) {
    gdi::Region region(createRoundRectRegion(left, top, right, bottom, ellipse));
    gdi::Brush brush(CreateSolidBrush(colour));
    FrameRgn(dc, region, brush, frameWidth, frameHeight);
}

// The control's text as the platform gives it to an 8-bit caller.
inline std::string controlText(HWND window) {
    const auto length = static_cast<size_t>(std::max<LRESULT>(0, SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)));
    std::vector<char> buffer(length + 2, '\0');
    SendMessageA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), strnlen(buffer.data(), length + 1));
}

// Asks for WM_MOUSELEAVE (TME_LEAVE) or WM_MOUSEHOVER (TME_HOVER, hover time 0) for the window.
inline void requestMouseNotification(HWND window, DWORD flags) {
    TRACKMOUSEEVENT request{sizeof(request), flags, window, 0};
    _TrackMouseEvent(&request);
}

// A draw record filled by a control procedure for a repaint of its own: the control's client
// context and client rectangle, everything else zero. The context is released after the paint.
struct ControlRepaint {
    DRAWITEMSTRUCT record{};
    explicit ControlRepaint(HWND control, UINT itemState = 0) {
        record.hwndItem = control;
        record.hDC = GetDC(control);
        record.itemState = itemState;
        GetClientRect(control, &record.rcItem);
    }
    ~ControlRepaint() { ReleaseDC(record.hwndItem, record.hDC); }
    ControlRepaint(const ControlRepaint&) = delete;
    ControlRepaint& operator=(const ControlRepaint&) = delete;
};

// A font of the given cell height (positive) and average width (0: the face's own), DEFAULT_CHARSET.
inline HFONT createCellFont(const char* face, int height, int width = 0, int weight = FW_DONTCARE,
                            int escapement = 0) {
    return CreateFontA(height, width, escapement, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

// A control met twice by the classification is attached once. A second attachment would save the
// skin's procedure as the control's own and chain it to itself; and a push button, check box or
// radio button, owner-drawn since its attachment, would be taken for an owner-drawn button.
bool alreadySkinned(HWND control);

// The Song face the glyphs and percentages are drawn in.
inline constexpr char songFace[] = "宋体";
