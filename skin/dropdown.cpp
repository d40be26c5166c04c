// Owner-drawn drop-down buttons: the owner keeps drawing the face; the skin lays a frame and an arrow
// box over it at pointer enter and leave and whenever the text is read. The arrow box is shared with
// the combo boxes.
#include <map>
#include <string>

#include "skin/attach.h"
#include "skin/controlpaint.h"
#include "skin/controls.h"
#include "skin/theme.h"

bool dropDownHoverFlag = false;

namespace {

// "q" in "Wingdings 3" is a solid downward triangle.
constexpr char kArrowFace[] = "Wingdings 3";
constexpr char kArrowGlyph[] = "q";

int CALLBACK noteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// Without the arrow face: a solid downward triangle, as wide as the glyph cell (made odd so that it
// has a tip column), centred in the box.
void drawDownTriangle(HDC dc, const RECT& box, GlyphCell cell, COLORREF colour) {
    int base = cell.width - (cell.width % 2 == 0 ? 1 : 0);
    if (base < 1) return;
    int height = (base + 1) / 2;
    if (height > cell.height) {
        height = std::max(cell.height, 1);
        base = 2 * height - 1;
    }
    const int centre = box.left + (box.right - box.left - 1) / 2;
    const int top = box.top + (box.bottom - box.top - height) / 2;
    gdi::Brush brush(CreateSolidBrush(colour));
    for (int row = 0; row < height; ++row) {
        const int halfWidth = base / 2 - row;
        const RECT line{centre - halfWidth, top + row, centre + halfWidth + 1, top + row + 1};
        FillRect(dc, &line, brush);
    }
}

}  // namespace

GlyphCell arrowGlyphCell(int boxWidth, int boxHeight) {
    // A box taller than wide sizes the glyph by its width, any other by its height.
    const double m = (boxHeight - boxWidth > 0.0000001) ? boxWidth : boxHeight;
    return {static_cast<int>(m / 2), static_cast<int>(m * 0.6)};
}

bool fontFaceInstalled(const char* face) {
    static std::map<std::string, bool> known;
    const auto found = known.find(face);
    if (found != known.end()) return found->second;
    LOGFONTA wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
    bool present = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &wanted, noteFace, reinterpret_cast<LPARAM>(&present), 0);
    ReleaseDC(nullptr, screen);
    known.emplace(face, present);
    return present;
}

void paintArrowBox(HDC dc, int left, int top, int right, int bottom, COLORREF start, COLORREF end) {
    const SkinPalette& palette = *skinPalette;
    const int half = (bottom - top) / 2;
    fillGradient(dc, left, top, right, top + half, start, blend(0.88f, end, start), false);
    fillGradient(dc, left, top + half, right, bottom, blend(0.8f, end, start), end, false);
    for (const POINT corner : {POINT{left, top}, POINT{left, bottom - 1}, POINT{right - 1, top}, POINT{right - 1, bottom - 1}})
        SetPixel(dc, corner.x, corner.y, palette.windowColor);
    frameRoundRect(dc, left, top, right + 1, bottom + 1, palette.lineColor);

    const GlyphCell cell = arrowGlyphCell(right - left, bottom - top);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, palette.textColor);
    RECT box{left, top, right, bottom};
    if (fontFaceInstalled(kArrowFace)) {
        gdi::Font font(createCellFont(kArrowFace, cell.height, cell.width));
        gdi::Select selected(dc, font);
        DrawTextA(dc, kArrowGlyph, 1, &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    } else {
        drawDownTriangle(dc, box, cell, palette.textColor);
    }
}

void paintDropDownButton(const DRAWITEMSTRUCT& record) {
    const SkinPalette& palette = *skinPalette;
    const HDC dc = record.hDC;
    const int width = record.rcItem.right - record.rcItem.left;
    const int height = record.rcItem.bottom - record.rcItem.top;
    SetBkMode(dc, TRANSPARENT);
    const int face = dropDownFaceIndex(record.itemState, getSkinProp(record.hwndItem, prop::mouseInside) == 1);
    frameRoundRect(dc, 0, 0, width + 1, height + 1, palette.windowColor, 0);
    frameRoundRect(dc, 1, 1, width, height, RGB(255, 255, 255), 0);
    SetTextColor(dc, palette.textColor);
    frameRoundRect(dc, 0, 0, width + 1, height + 1, palette.lineColor);  // corners stay windowColor
    paintArrowBox(dc, width - 19, 2, width - 2, height - 2, palette.faceStart[face], palette.faceEnd[face]);
}

void attachDropDownButton(HWND hwnd) {
    if (alreadySkinned(hwnd)) return;
    setSkinProp(hwnd, prop::windowProc, GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    setSkinProp(hwnd, prop::focus, 0);
    setSkinProp(hwnd, prop::buttonKind, kOwnerDrawButton);
    // The style stays owner-drawn: the owner keeps drawing the face.
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&dropDownButtonProc));
}

LRESULT CALLBACK dropDownButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE: {
            requestMouseNotification(hwnd, TME_HOVER);
            requestMouseNotification(hwnd, TME_LEAVE);
            ControlRepaint repaint(hwnd);
            if (!dropDownHoverFlag) {
                repaint.record.itemState = kStateHover;
                setSkinProp(hwnd, prop::mouseInside, 1);
                paintDropDownButton(repaint.record);
                dropDownHoverFlag = true;
            }
            break;
        }
        case WM_MOUSELEAVE: {
            ControlRepaint repaint(hwnd);
            setSkinProp(hwnd, prop::mouseInside, 0);
            paintDropDownButton(repaint.record);
            dropDownHoverFlag = false;
            break;
        }
        case WM_GETTEXT: {
            // Owners read the text while drawing the face: the decoration goes down at that moment.
            ControlRepaint repaint(hwnd);
            paintDropDownButton(repaint.record);
            dropDownHoverFlag = false;
            break;
        }
        default: break;
    }
    return callSavedProc(hwnd, message, wParam, lParam);
}
