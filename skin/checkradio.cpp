// Check boxes and radio buttons: owner-drawn, their check state kept in "Skin.选中", boxes and marks
// drawn as Song glyphs, radio groups formed by the parent window.
#include <cmath>

#include "skin/attach.h"
#include "skin/controlpaint.h"
#include "skin/controls.h"
#include "skin/theme.h"

namespace {

// GBK glyphs, two bytes each.
constexpr char kBoxGlyph[] = "□";
constexpr char kTickGlyph[] = "√";
constexpr char kRingGlyph[] = "○";
constexpr char kDotGlyph[] = "●";
static_assert(sizeof(kBoxGlyph) == 3 && sizeof(kTickGlyph) == 3 && sizeof(kRingGlyph) == 3 && sizeof(kDotGlyph) == 3,
              "the glyphs must reach the program as two-byte GBK characters");

constexpr int kGlyphColumnWidth = 14;

struct ToggleColours {
    COLORREF text;
    COLORREF outer;  // the larger frame glyph
    COLORREF inner;  // the smaller frame glyph and the radio's round frame
    COLORREF mark;   // tick or dot
};

ToggleColours toggleColours(bool disabled) {
    const SkinPalette& p = *skinPalette;
    if (disabled) return {p.faceEnd[3], p.faceEnd[3], blend(1.0f, p.windowColor, p.faceEnd[3]), p.faceEnd[3]};
    return {p.textColor, p.lineColor, blend(1.0f, p.windowColor, p.lineColor), p.markColor};
}

void drawGlyph(HDC dc, const char* glyph, RECT rect, int height, int weight, COLORREF colour) {
    gdi::Font font(createCellFont(songFace, height, 0, weight));
    gdi::Select selected(dc, font);
    SetTextColor(dc, colour);
    DrawTextA(dc, glyph, 2, &rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

// The steps both painters share: background, label, focus rectangle; drawGlyphs adds the box or ring.
template <class GlyphPainter>
void paintToggle(const DRAWITEMSTRUCT& record, GlyphPainter drawGlyphs) {
    const HWND control = record.hwndItem;
    const int width = record.rcItem.right - record.rcItem.left;
    const int height = record.rcItem.bottom - record.rcItem.top;
    if (width <= 0 || height <= 0) return;
    const bool disabled = record.itemState == kStateDisabled;
    const ToggleColours colours = toggleColours(disabled);

    OffscreenSurface surface(record.hDC, width, height);
    const HDC dc = surface.dc();
    SetBkMode(dc, TRANSPARENT);
    fillSolid(dc, record.rcItem, skinPalette->windowColor);

    const std::string label = controlText(control);
    LabelLayout layout;
    {
        gdi::Select font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        layout = labelLayout(record.rcItem, GetWindowLongA(control, GWL_STYLE), metrics.tmHeight,
                             static_cast<int>(label.size()));
        if (getSkinProp(control, prop::focus) == 1) DrawFocusRect(dc, &layout.labelBox);
        SetTextColor(dc, colours.text);
        if (!label.empty()) DrawTextA(dc, label.data(), static_cast<int>(label.size()), &layout.text, layout.format);
    }
    drawGlyphs(dc, layout, colours, disabled);
    surface.copyTo(record.hDC, record.rcItem.right, record.rcItem.bottom);
}

// Repaint of a control by its own procedure. A disabled control is painted with the disabled look,
// as the platform's draw-item request would ask for.
template <class Painter>
void repaintToggle(HWND control, Painter paint) {
    ControlRepaint repaint(control, IsWindowEnabled(control) ? 0 : kStateDisabled);
    paint(repaint.record);
}

void attachToggle(HWND hwnd, ButtonKind kind, WNDPROC proc) {
    if (alreadySkinned(hwnd)) return;
    setSkinProp(hwnd, prop::windowProc, GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    setSkinProp(hwnd, prop::buttonKind, kind);
    // The platform's button still holds its state: ask it before the style makes it forget.
    // (Asked of the button itself: a look-up by control id finds the wrong one when ids repeat.)
    setSkinProp(hwnd, prop::checked, SendMessageA(hwnd, BM_GETCHECK, 0, 0) != BST_UNCHECKED ? 1 : 0);
    const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    SetWindowLongA(hwnd, GWL_STYLE, (style & ~0xF) | BS_OWNERDRAW);
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

// What check boxes and radio buttons share: focus, the stored state, the repaint on BM_SETCHECK.
// Returns true when the message is answered here (result in `result`) and must not go on.
bool handleToggleMessage(HWND hwnd, UINT message, void (*paint)(const DRAWITEMSTRUCT&), LRESULT& result) {
    switch (message) {
        case WM_SETFOCUS: setSkinProp(hwnd, prop::focus, 1); return false;
        case WM_KILLFOCUS: setSkinProp(hwnd, prop::focus, 0); return false;
        case BM_GETCHECK: result = getSkinProp(hwnd, prop::checked); return true;
        case BM_SETCHECK: repaintToggle(hwnd, paint); return false;  // the state itself stays
        default: return false;
    }
}

bool isSpace(UINT message, WPARAM wParam) { return message == WM_CHAR && (wParam & 0xFFFF) == ' '; }

}  // namespace

LabelLayout labelLayout(const RECT& item, LONG style, int fontHeight, int textBytes) {
    const double est = textBytes * static_cast<double>(fontHeight) / 2.0;
    LabelLayout layout{};
    if (style & BS_LEFTTEXT) {
        layout.glyphColumn = {item.right - kGlyphColumnWidth, item.top, item.right, item.bottom};
        layout.text = {item.left, item.top, item.right - kGlyphColumnWidth - 1, item.bottom};
    } else {
        layout.glyphColumn = {item.left, item.top, item.left + kGlyphColumnWidth, item.bottom};
        layout.text = {item.left + kGlyphColumnWidth + 1, item.top, item.right, item.bottom};
    }
    RECT& text = layout.text;
    auto centredLeft = [&] { return text.left + std::floor((text.right - text.left - est) / 2.0); };
    auto centredTop = [&] { return text.top + std::floor((text.bottom - text.top - fontHeight) / 2.0); };

    UINT horizontal = DT_CENTER;
    double left = 0;
    bool matched = false;
    if ((style & BS_RIGHT) == BS_RIGHT) horizontal = DT_RIGHT, left = text.right - est, matched = true;
    if ((style & BS_LEFT) == BS_LEFT) horizontal = DT_LEFT, left = text.left, matched = true;
    if ((style & BS_CENTER) == BS_CENTER) horizontal = DT_CENTER, left = centredLeft(), matched = true;
    if (!matched) left = centredLeft();

    UINT vertical = DT_VCENTER;
    double top = 0;
    matched = false;
    // BS_VCENTER carries the BS_TOP bit: the text top moves down a pixel before the centring.
    if ((style & BS_TOP) == BS_TOP) vertical = DT_TOP, text.top += 1, top = text.top, matched = true;
    if ((style & BS_BOTTOM) == BS_BOTTOM) vertical = DT_BOTTOM, top = text.bottom - fontHeight, matched = true;
    if ((style & BS_VCENTER) == BS_VCENTER) vertical = DT_VCENTER, top = centredTop(), matched = true;
    if (!matched) top = centredTop();

    RECT& box = layout.labelBox;
    box.left = static_cast<LONG>(std::trunc(left));
    box.top = static_cast<LONG>(std::trunc(top));
    box.right = static_cast<LONG>(std::trunc(box.left + est));
    box.bottom = box.top + fontHeight;
    layout.format = DT_SINGLELINE | horizontal | vertical;
    return layout;
}

RECT checkGlyphRect(const LabelLayout& layout) {
    RECT rect = layout.glyphColumn;
    rect.top = layout.labelBox.top - 1;
    rect.bottom = layout.labelBox.bottom + 1;
    return rect;
}

RECT radioGlyphRect(const LabelLayout& layout) {
    RECT rect = layout.glyphColumn;
    rect.top = layout.labelBox.top + (layout.labelBox.bottom - layout.labelBox.top - kGlyphColumnWidth) / 2;
    rect.bottom = rect.top + kGlyphColumnWidth;
    return rect;
}

RECT radioDotRect(const LabelLayout& layout) {
    RECT rect = layout.glyphColumn;
    rect.top = layout.labelBox.top;
    rect.bottom = layout.labelBox.bottom;
    return rect;
}

void paintCheckBox(const DRAWITEMSTRUCT& record) {
    const bool set = getSkinProp(record.hwndItem, prop::checked) == 1;
    paintToggle(record, [set](HDC dc, const LabelLayout& layout, const ToggleColours& colours, bool) {
        const RECT rect = checkGlyphRect(layout);
        drawGlyph(dc, kBoxGlyph, rect, 16, FW_DONTCARE, colours.outer);
        drawGlyph(dc, kBoxGlyph, rect, 14, FW_DONTCARE, colours.inner);  // a double-lined box
        if (set) drawGlyph(dc, kTickGlyph, rect, 12, FW_EXTRABOLD, colours.mark);
    });
}

void paintRadioButton(const DRAWITEMSTRUCT& record) {
    const HWND control = record.hwndItem;
    paintToggle(record, [control](HDC dc, const LabelLayout& layout, const ToggleColours& colours, bool disabled) {
        const RECT rect = radioGlyphRect(layout);
        const int ellipse = (rect.right - rect.left) / 2;
        frameRoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, colours.inner, ellipse, 1, 2);
        drawGlyph(dc, kRingGlyph, rect, 16, FW_DONTCARE, colours.outer);
        drawGlyph(dc, kRingGlyph, rect, 14, FW_DONTCARE, colours.inner);
        if (getSkinProp(control, prop::checked) > 0) {
            drawGlyph(dc, kDotGlyph, radioDotRect(layout), 4, FW_EXTRABOLD, colours.mark);
            // A set radio button painted disabled is protected from being cleared by its group.
            if (disabled) setSkinProp(control, prop::checked, 3);
        }
    });
}

void attachCheckBox(HWND hwnd) { attachToggle(hwnd, kCheckBox, &checkBoxProc); }

void attachRadioButton(HWND hwnd) { attachToggle(hwnd, kRadioButton, &radioButtonProc); }

LRESULT CALLBACK checkBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (handleToggleMessage(hwnd, message, &paintCheckBox, result)) return result;
    if (message == WM_LBUTTONDOWN || isSpace(message, wParam)) {
        const intptr_t next = getSkinProp(hwnd, prop::checked) == 1 ? 0 : 1;
        setSkinProp(hwnd, prop::checked, next);
        SendMessageA(hwnd, BM_SETCHECK, static_cast<WPARAM>(next), 0);  // repaints
    }
    return callSavedProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK radioButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (handleToggleMessage(hwnd, message, &paintRadioButton, result)) return result;
    if (message == WM_LBUTTONDOWN || isSpace(message, wParam)) selectRadioButton(hwnd);
    return callSavedProc(hwnd, message, wParam, lParam);
}

void selectRadioButton(HWND hwnd) {
    // The group is every skinned radio button of the same parent, whatever its group style.
    // A radio button that is no child window has no siblings: it forms a group of its own
    // (walking the desktop's windows would reach other programs' buttons).
    const HWND parent = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
    if (!parent) {
        setSkinProp(hwnd, prop::checked, 1);
        SendMessageA(hwnd, BM_SETCHECK, 1, 0);
        return;
    }
    for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(parent, child, nullptr, nullptr)) {
        if (windowClassName(child) != "Button" || getSkinProp(child, prop::buttonKind) != kRadioButton) continue;
        if (child == hwnd) {
            setSkinProp(child, prop::checked, 1);
            SendMessageA(child, BM_SETCHECK, 1, 0);
        } else if (getSkinProp(child, prop::checked) < 2) {
            setSkinProp(child, prop::checked, 0);
            if (IsWindowEnabled(child)) SendMessageA(child, BM_SETCHECK, 0, 0);
        }
    }
}
