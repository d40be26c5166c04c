// Combo boxes: the platform draws the control; the skin lays the frame and, for the drop-down types,
// the arrow box over it, and redraws them 5 ms after each platform paint.
#include "skin/attach.h"
#include "skin/controlpaint.h"
#include "skin/controls.h"
#include "skin/theme.h"

bool comboHoverFlag = false;

namespace {

// The one-shot repaint delay: a timer named by the combo box's own handle, stopped at its first tick.
constexpr UINT kRepaintDelay = 5;
UINT_PTR repaintTimerId(HWND combo) { return reinterpret_cast<UINT_PTR>(combo); }
void startRepaintTimer(HWND combo) { SetTimer(combo, repaintTimerId(combo), kRepaintDelay, nullptr); }

void repaintCombo(HWND combo, UINT itemState) {
    ControlRepaint repaint(combo, itemState);
    paintComboBox(repaint.record);
    comboHoverFlag = false;
}

}  // namespace

void attachComboBox(HWND hwnd) {
    if (!alreadySkinned(hwnd)) replaceWindowProc(hwnd, &comboBoxProc);
}

LRESULT CALLBACK comboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE: {
            requestMouseNotification(hwnd, TME_HOVER);
            requestMouseNotification(hwnd, TME_LEAVE);
            ControlRepaint repaint(hwnd);
            if (!comboHoverFlag) {
                repaint.record.itemState = kStateHover;
                setSkinProp(hwnd, prop::mouseInside, 1);
                paintComboBox(repaint.record);
                comboHoverFlag = true;
            }
            break;
        }
        case WM_MOUSELEAVE: {
            ControlRepaint repaint(hwnd);
            setSkinProp(hwnd, prop::mouseInside, 0);
            paintComboBox(repaint.record);
            comboHoverFlag = false;
            break;
        }
        case WM_LBUTTONDOWN:
            setSkinProp(hwnd, prop::mouseDown, 1);
            repaintCombo(hwnd, kStatePressed);
            startRepaintTimer(hwnd);
            break;
        case WM_LBUTTONUP:
            setSkinProp(hwnd, prop::mouseDown, 0);
            startRepaintTimer(hwnd);
            break;
        case WM_GETTEXT: repaintCombo(hwnd, 0); break;
        case WM_TIMER:
            KillTimer(hwnd, repaintTimerId(hwnd));
            repaintCombo(hwnd, 0);
            break;
        case WM_PAINT: startRepaintTimer(hwnd); break;  // the platform paints first, the skin after
        default: break;
    }
    return callSavedProc(hwnd, message, wParam, lParam);
}

void paintComboBox(const DRAWITEMSTRUCT& record) {
    const SkinPalette& palette = *skinPalette;
    const HWND combo = record.hwndItem;
    const HDC dc = record.hDC;
    const int width = record.rcItem.right - record.rcItem.left;
    const int height = record.rcItem.bottom - record.rcItem.top;
    SetBkMode(dc, TRANSPARENT);
    const int face = comboFaceIndex(record.itemState, getSkinProp(combo, prop::mouseInside) == 1,
                                    getSkinProp(combo, prop::mouseDown) == 1);
    frameRoundRect(dc, 0, 0, width + 1, height + 1, palette.windowColor, 0);
    frameRoundRect(dc, 1, 1, width, height, RGB(255, 255, 255), 0);
    frameRoundRect(dc, 0, 0, width + 1, height + 1, palette.lineColor);
    SetTextColor(dc, palette.textColor);
    // CBS_SIMPLE (type 1) has no drop-down button to cover.
    if ((GetWindowLongA(combo, GWL_STYLE) & 3) > CBS_SIMPLE)
        paintArrowBox(dc, width - 19, 2, width - 2, height - 2, palette.faceStart[face], palette.faceEnd[face]);
}
