// Push buttons: turned owner-drawn at attachment, faces composed off screen from the palette.
#include <string>

#include "skin/attach.h"
#include "skin/controlpaint.h"
#include "skin/controls.h"
#include "skin/gdi.h"
#include "skin/theme.h"

bool pushHoverFlag = false;

void fillGradient(HDC dc, int left, int top, int right, int bottom, COLORREF startColor, COLORREF endColor,
                  bool horizontal) {
    // TRIVERTEX channels are 16 bits wide: 0..255 becomes 0x0000..0xFF00.
    auto channel = [](int value) { return static_cast<COLOR16>(value << 8); };
    TRIVERTEX vertices[2] = {
        {left, top, channel(GetRValue(startColor)), channel(GetGValue(startColor)), channel(GetBValue(startColor)), 0},
        {right, bottom, channel(GetRValue(endColor)), channel(GetGValue(endColor)), channel(GetBValue(endColor)), 0},
    };
    GRADIENT_RECT rectangle{0, 1};
    GradientFill(dc, vertices, 2, &rectangle, 1, horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
}

bool alreadySkinned(HWND control) {
    const auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC));
    for (const WNDPROC skinProc : {&pushButtonProc, &checkBoxProc, &radioButtonProc, &dropDownButtonProc, &editBoxProc,
                                   &comboBoxProc, &progressBarProc})
        if (proc == skinProc) return true;
    return false;
}

void paintPushButton(const DRAWITEMSTRUCT& record) {
    const HWND button = record.hwndItem;
    const int width = record.rcItem.right - record.rcItem.left;
    const int height = record.rcItem.bottom - record.rcItem.top;
    if (width <= 0 || height <= 0) return;
    const SkinPalette& palette = *skinPalette;

    OffscreenSurface surface(record.hDC, width, height);
    const HDC dc = surface.dc();
    SetBkMode(dc, TRANSPARENT);
    fillSolid(dc, {0, 0, width, height}, palette.windowColor);

    RECT text = record.rcItem;
    const int face = pushFaceIndex(record.itemState, getSkinProp(button, prop::mouseInside) == 1,
                                   getSkinProp(button, prop::mouseDown) == 1);
    if (record.itemState == kStatePressed) OffsetRect(&text, 1, 1);  // the pressed label sinks a pixel
    const COLORREF start = palette.faceStart[face];
    const COLORREF end = palette.faceEnd[face];

    // Two vertical bands inside a one-pixel border; the colour steps down at the middle row.
    const RECT& item = record.rcItem;
    const int half = (item.bottom - item.top) / 2;
    fillGradient(dc, item.left + 1, item.top + 1, item.right - 1, item.top + half, start, blend(0.88f, end, start), false);
    fillGradient(dc, item.left + 1, item.top + half, item.right - 1, item.bottom - 1, blend(0.8f, end, start), end, false);

    const bool disabled = record.itemState == kStateDisabled;
    frameRoundRect(dc, 0, 0, width + 1, height + 1, disabled ? palette.faceEnd[3] : palette.lineColor);

    if (getSkinProp(button, prop::defaultButton) == 1) {
        // A line one pixel inside the outline along the right and bottom edges.
        gdi::Pen pen(CreatePen(PS_SOLID, 0, palette.lineColor));
        gdi::Select selected(dc, pen);
        MoveToEx(dc, width - 2, 2, nullptr);
        LineTo(dc, width - 2, height - 2);
        MoveToEx(dc, 2, height - 2, nullptr);
        LineTo(dc, width - 2, height - 2);
    }
    if (getSkinProp(button, prop::focus) == 1) frameRoundRect(dc, 2, 2, width - 1, height - 1, palette.lineColor);

    {
        gdi::Select font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0)));
        SetTextColor(dc, disabled ? palette.faceEnd[3] : palette.textColor);
        const std::string label = controlText(button);
        const LONG style = GetWindowLongA(button, GWL_STYLE);
        InflateRect(&text, -4, -4);
        // No DT_NOPREFIX: "&S" underlines the S, "&&" draws one ampersand.
        if (!label.empty())
            DrawTextA(dc, label.data(), static_cast<int>(label.size()), &text,
                      DT_SINGLELINE | horizontalTextFlag(style) | verticalTextFlag(style));
    }
    surface.copyTo(record.hDC, record.rcItem.right, record.rcItem.bottom);
}

void paintSkinnedItem(const DRAWITEMSTRUCT& record) {
    if (record.CtlType != ODT_BUTTON) return;
    switch (getSkinProp(record.hwndItem, prop::buttonKind)) {
        case kPushButton: paintPushButton(record); break;
        case kCheckBox: paintCheckBox(record); break;
        case kRadioButton: paintRadioButton(record); break;
        default: break;
    }
}

void attachPushButton(HWND hwnd) {
    if (alreadySkinned(hwnd)) return;
    setSkinProp(hwnd, prop::windowProc, GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    setSkinProp(hwnd, prop::focus, 0);
    setSkinProp(hwnd, prop::buttonKind, kPushButton);
    const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    const bool isDefault = (style & 0xF) == BS_DEFPUSHBUTTON;
    setSkinProp(hwnd, prop::defaultButton, isDefault ? 1 : 0);
    // From now on the platform sends draw-item requests to the parent instead of drawing the face.
    SetWindowLongA(hwnd, GWL_STYLE, (style & ~0xF) | BS_OWNERDRAW);
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&pushButtonProc));
    if (isDefault) SetFocus(hwnd);
}

LRESULT CALLBACK pushButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFOCUS: setSkinProp(hwnd, prop::focus, 1); break;
        case WM_KILLFOCUS: setSkinProp(hwnd, prop::focus, 0); break;
        case WM_MOUSEMOVE: {
            requestMouseNotification(hwnd, TME_LEAVE);
            ControlRepaint repaint(hwnd);
            if (!pushHoverFlag) {
                repaint.record.itemState = kStateHover;
                setSkinProp(hwnd, prop::mouseInside, 1);
                paintPushButton(repaint.record);
                pushHoverFlag = true;
            }
            break;
        }
        case WM_MOUSELEAVE: {
            ControlRepaint repaint(hwnd);
            setSkinProp(hwnd, prop::mouseInside, 0);
            paintPushButton(repaint.record);
            pushHoverFlag = false;
            break;
        }
        // Set before the platform handles the press, so the draw-item requests it sends see them.
        case WM_LBUTTONDOWN: setSkinProp(hwnd, prop::mouseDown, 1); break;
        case WM_LBUTTONUP: setSkinProp(hwnd, prop::mouseDown, 0); break;
        default: break;
    }
    return callSavedProc(hwnd, message, wParam, lParam);
}
