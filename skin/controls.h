// Skinned child controls: push buttons, check boxes, radio buttons, owner-drawn drop-down buttons,
// edit boxes, combo boxes and progress bars.
//
// Every painter takes the platform's DRAWITEMSTRUCT ("draw record"); rcItem always starts at (0, 0).
// A record made by a control procedure itself is zeroed except hwndItem, hDC (GetDC, released by the
// procedure after the paint) and rcItem (GetClientRect), with itemState 1 for a hover repaint.
#pragma once
#include <windows.h>

// Process-wide hover flags, one per control kind.
extern bool pushHoverFlag;
extern bool dropDownHoverFlag;
extern bool comboHoverFlag;

// Two-colour linear fill of (left, top)-(right, bottom), right and bottom excluded.
void fillGradient(HDC dc, int left, int top, int right, int bottom, COLORREF startColor, COLORREF endColor,
                  bool horizontal = true);

// Face index: selects faceStart/faceEnd of the palette. 0 normal, 1 hover, 2 pressed, 3 disabled.
enum FaceIndex : int { kFaceNormal = 0, kFaceHover = 1, kFacePressed = 2, kFaceDisabled = 3 };

// itemState values the painters compare whole (never bit by bit).
inline constexpr UINT kStateHover = ODS_SELECTED;                // 1: selected alone, also the hover repaint
inline constexpr UINT kStateDisabled = ODS_DISABLED;             // 4: disabled alone
inline constexpr UINT kStatePressed = ODS_SELECTED | ODS_FOCUS;  // 17: selected and focused

// ---- Push buttons ----
void attachPushButton(HWND hwnd);
LRESULT CALLBACK pushButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void paintPushButton(const DRAWITEMSTRUCT& record);
// A draw-item request of a skinned push button, check box or radio button, painted by its kind.
void paintSkinnedItem(const DRAWITEMSTRUCT& record);

// Face of a push button from the whole itemState and the "Skin.鼠标移入" / "Skin.鼠标点击" properties.
constexpr int pushFaceIndex(UINT itemState, bool mouseInside, bool mouseDown) {
    if (itemState == kStateHover) return kFaceHover;
    if (itemState == kStateDisabled) return kFaceDisabled;
    if (itemState == kStatePressed) return kFacePressed;
    if (!mouseInside) return kFaceNormal;
    if (mouseDown) return kFaceNormal;
    return kFaceHover;
}

// DrawTextA alignment of a button label from its BS_* alignment bits; later matches override earlier
// ones, so BS_CENTER (both bits) centres and BS_VCENTER (both bits) centres vertically.
constexpr UINT horizontalTextFlag(LONG style) {
    UINT flag = DT_CENTER;
    if ((style & BS_RIGHT) == BS_RIGHT) flag = DT_RIGHT;
    if ((style & BS_LEFT) == BS_LEFT) flag = DT_LEFT;
    if ((style & BS_CENTER) == BS_CENTER) flag = DT_CENTER;
    return flag;
}
constexpr UINT verticalTextFlag(LONG style) {
    UINT flag = DT_VCENTER;
    if ((style & BS_TOP) == BS_TOP) flag = DT_TOP;
    if ((style & BS_BOTTOM) == BS_BOTTOM) flag = DT_BOTTOM;
    if ((style & BS_VCENTER) == BS_VCENTER) flag = DT_VCENTER;
    return flag;
}

// ---- Check boxes and radio buttons ----
void attachCheckBox(HWND hwnd);
void attachRadioButton(HWND hwnd);
LRESULT CALLBACK checkBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK radioButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void selectRadioButton(HWND hwnd);
void paintCheckBox(const DRAWITEMSTRUCT& record);
void paintRadioButton(const DRAWITEMSTRUCT& record);

// Where the parts of a check box or radio button go, from its client rectangle, style, the tmHeight
// of its font and the label length in bytes. The label box is an estimate of where the text lies
// (half the font height per byte): it is the focus rectangle and places the glyphs vertically.
struct LabelLayout {
    RECT glyphColumn;  // 14 pixels at the left edge, or at the right edge with BS_LEFTTEXT
    RECT text;         // where the label is drawn
    RECT labelBox;
    UINT format;       // DT_SINGLELINE with the horizontal and vertical flag
};
LabelLayout labelLayout(const RECT& item, LONG style, int fontHeight, int textBytes);
// The box glyphs of a check box; the ring of a radio button; the dot of a set radio button.
RECT checkGlyphRect(const LabelLayout& layout);
RECT radioGlyphRect(const LabelLayout& layout);
RECT radioDotRect(const LabelLayout& layout);

// ---- Owner-drawn drop-down buttons and the arrow box shared with combo boxes ----
void attachDropDownButton(HWND hwnd);
LRESULT CALLBACK dropDownButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void paintDropDownButton(const DRAWITEMSTRUCT& record);
void paintArrowBox(HDC dc, int left, int top, int right, int bottom, COLORREF start, COLORREF end);

constexpr int dropDownFaceIndex(UINT itemState, bool mouseInside) {
    return (itemState == kStateHover || mouseInside) ? kFaceHover : kFaceNormal;
}

// Cell of the arrow glyph for a box of the given size: the shorter side, except that a box taller
// than wide takes its width; cell height half of it, average character width 0.6 of it.
struct GlyphCell {
    int height;
    int width;
};
GlyphCell arrowGlyphCell(int boxWidth, int boxHeight);
// Whether the platform has a font family of this face name (asked once per face and remembered).
bool fontFaceInstalled(const char* face);

// ---- Edit boxes ----
void attachEditBox(HWND hwnd);
LRESULT CALLBACK editBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void paintEditFrame(HWND hwnd);
int editScrollBarKind(HWND hwnd);

// Scroll bar kind from the style: 1 WS_HSCROLL with ES_AUTOHSCROLL, 2 WS_VSCROLL alone, 3 all three,
// 0 anything else (a scroll bar of kind 0 counts as border).
constexpr int scrollBarKindOfStyle(LONG style) {
    switch (static_cast<DWORD>(style) & 0x300080u) {
        case 0x100080u: return 1;
        case 0x200000u: return 2;
        case 0x300080u: return 3;
        default: return 0;
    }
}
// Border thickness (left/right bx, top/bottom by) from window size, client size and the scroll bar
// allowances.
struct EditBorder {
    int bx;
    int by;
};
constexpr EditBorder editBorder(int windowWidth, int windowHeight, int clientWidth, int clientHeight,
                                int verticalBar, int horizontalBar) {
    return {(windowWidth - clientWidth - verticalBar) / 2, (windowHeight - clientHeight - horizontalBar) / 2};
}

// ---- Combo boxes ----
void attachComboBox(HWND hwnd);
LRESULT CALLBACK comboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void paintComboBox(const DRAWITEMSTRUCT& record);

constexpr int comboFaceIndex(UINT itemState, bool mouseInside, bool mouseDown) {
    if (itemState == kStateHover) return kFaceHover;
    if (itemState == kStatePressed) return kFacePressed;
    if (mouseInside && !mouseDown) return kFaceHover;
    return kFaceNormal;
}

// ---- Progress bars ----
void attachProgressBar(HWND hwnd);
LRESULT CALLBACK progressBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void paintProgressBar(HWND hwnd, int newPosition, bool useNewPosition);
void paintProgressTrack(HWND hwnd);
void drawVerticalPercent(HDC dc, const RECT& rect, const char* text, int size);

// Floor that counts a value less than 1e-12 below the next integer as that integer, so that
// percentages such as 0.29 * 100 = 28.999999999999996 come out whole.
double floorE(double x);
// The percentage shown for a range and position; 0 for an empty range (low == high).
int progressPercent(int low, int high, int position);
// The bar of a progress control of client size w × h: its rectangle (empty when there is no bar),
// the block pitch (0 when smooth) and the number of blocks, whose separators the painter draws.
struct ProgressBarLayout {
    RECT bar;
    int pitch;
    int blocks;
};
ProgressBarLayout progressBarLayout(int w, int h, bool vertical, bool smooth, int low, int high, int position);
