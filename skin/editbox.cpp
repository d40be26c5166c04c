// Edit boxes: the platform draws border and client area; the skin paints the border over in its own
// colours after every non-client paint.
#include <algorithm>

#include "skin/attach.h"
#include "skin/controlpaint.h"
#include "skin/controls.h"
#include "skin/theme.h"

void attachEditBox(HWND hwnd) {
    // The edit field of a combo box keeps the platform's look.
    const HWND parent = GetParent(hwnd);
    if (parent && windowClassName(parent) == "ComboBox") return;
    if (alreadySkinned(hwnd)) return;
    replaceWindowProc(hwnd, &editBoxProc);
}

LRESULT CALLBACK editBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCPAINT: {
            const LRESULT result = callSavedProc(hwnd, message, wParam, lParam);
            paintEditFrame(hwnd);
            return result;
        }
        case WM_PAINT: {
            // The parent's transparent colours need the whole background behind every repaint.
            RECT client;
            GetClientRect(hwnd, &client);
            InvalidateRect(hwnd, &client, TRUE);
            break;
        }
        default: break;
    }
    return callSavedProc(hwnd, message, wParam, lParam);
}

int editScrollBarKind(HWND hwnd) { return scrollBarKindOfStyle(GetWindowLongA(hwnd, GWL_STYLE)); }

void paintEditFrame(HWND hwnd) {
    gdi::WindowContext dc = gdi::WindowContext::whole(hwnd);
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    const int width = window.right - window.left, height = window.bottom - window.top;

    // Scroll bar allowances: the thickness of a horizontal and of a vertical bar.
    const int kind = editScrollBarKind(hwnd);
    const int horizontalBar = (kind == 1 || kind == 3) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    const int verticalBar = (kind == 2 || kind == 3) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    const EditBorder border = editBorder(width, height, client.right, client.bottom, verticalBar, horizontalBar);
    const int bx = std::max(border.bx, 0), by = std::max(border.by, 0);
    const LONG style = GetWindowLongA(hwnd, GWL_STYLE);

    gdi::Region whole(CreateRectRgn(0, 0, width, height));
    if (style & WS_DISABLED) {
        FrameRgn(dc, whole, staticBrush, bx, by);
    } else {
        FrameRgn(dc, whole, editBrush, bx, by);
        gdi::Brush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        FrameRgn(dc, whole, face, bx, bx);
    }
    if ((style & WS_BORDER) || bx != 0) {
        // One line on the innermost ring of the border (the vertical inset is bx as well).
        gdi::Region inner(CreateRectRgn(bx - 1, bx - 1, width - bx + 1, height - bx + 1));
        gdi::Brush line(CreateSolidBrush(skinPalette->lineColor));
        FrameRgn(dc, inner, line, 1, 1);
    }
}
