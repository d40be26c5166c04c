// Progress bars: painted by the skin over the platform's own painting: a soft track, a two-band bar
// with block separators unless smooth, the percentage, and a two-ring frame.
#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <string>

#include "skin/attach.h"
#include "skin/controlpaint.h"
#include "skin/controls.h"
#include "skin/theme.h"

namespace {

struct ProgressState {
    int low;
    int high;
    int position;
};

// Range and position as the control itself reports them.
ProgressState readProgressState(HWND bar) {
    PBRANGE range{};
    SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    const int position = static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0));
    return {range.iLow, range.iHigh, position};
}

int half(int x) { return x / 2; }
int truncated(double x) { return static_cast<int>(std::trunc(x)); }

}  // namespace

double floorE(double x) {
    const double whole = std::floor(x);
    if (x > 0 && x - whole > 0.999999999999) return whole + 1;
    return whole;
}

int progressPercent(int low, int high, int position) {
    if (high == low) return 0;
    const double quotient = (static_cast<double>(position) - low) / (static_cast<double>(high) - low);
    return static_cast<int>(floorE(quotient * 100));
}

ProgressBarLayout progressBarLayout(int w, int h, bool vertical, bool smooth, int low, int high, int position) {
    ProgressBarLayout layout{{1, 1, w - 1, h - 1}, 0, 0};
    RECT& q = layout.bar;
    const int wq = q.right - q.left, hq = q.bottom - q.top;
    const double span = static_cast<double>(high) - low;
    const double covered = static_cast<double>(position) - low;
    // Length along the bar: the product first, then the division. An empty range has no bar.
    auto length = [&](int extent) { return high == low ? 0 : static_cast<int>(floorE(extent * covered / span)); };
    if (!vertical) {
        q.right = length(wq);
        if (!smooth) {
            layout.pitch = std::max(1, truncated(hq / 3.0 * 2 + 2));
            const double blocks = static_cast<double>(q.right) / layout.pitch;
            // A part block is shown whole: the end moves out to the next multiple of the pitch.
            if (std::fabs(blocks - floorE(blocks)) > 0.0000001)
                q.right = truncated(floorE(blocks) * layout.pitch + layout.pitch);
            layout.blocks = q.right / layout.pitch;
        }
    } else {
        q.top = q.bottom - length(hq);
        if (!smooth) {
            layout.pitch = std::max(1, truncated(wq / 3.0 * 2 + 2));
            const double blocks = static_cast<double>(q.bottom - q.top) / layout.pitch;
            if (std::fabs(blocks - floorE(blocks)) > 0.0000001)
                q.top = q.bottom - truncated(floorE(blocks) * layout.pitch + layout.pitch);
            layout.blocks = (q.bottom - q.top) / layout.pitch;
        }
    }
    return layout;
}

void attachProgressBar(HWND hwnd) {
    if (!alreadySkinned(hwnd)) replaceWindowProc(hwnd, &progressBarProc);
}

LRESULT CALLBACK progressBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            const LRESULT result = callSavedProc(hwnd, message, wParam, lParam);
            paintProgressBar(hwnd, 0, false);
            return result;
        }
        case WM_ERASEBKGND:
            paintProgressTrack(hwnd);
            return 1;
        case PBM_SETPOS:
            // The control stores the new position only after this: paint it now.
            paintProgressBar(hwnd, static_cast<int>(wParam), true);
            break;
        default: break;
    }
    return callSavedProc(hwnd, message, wParam, lParam);
}

void paintProgressTrack(HWND hwnd) {
    const SkinPalette& palette = *skinPalette;
    const COLORREF middle = palette.faceStart[0];
    gdi::WindowContext dc = gdi::WindowContext::whole(hwnd);
    RECT window;
    GetWindowRect(hwnd, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    if (GetWindowLongA(hwnd, GWL_STYLE) & PBS_VERTICAL) {
        fillGradient(dc, 0, 0, truncated(w / 2.0), h, palette.windowColor, middle, true);
        fillGradient(dc, truncated(w - w / 2.0), 0, w, h, middle, palette.windowColor, true);
    } else {
        fillGradient(dc, 0, 0, w, half(h), palette.windowColor, middle, false);
        fillGradient(dc, 0, half(h), w, h, middle, palette.windowColor, false);
    }
}

void drawVerticalPercent(HDC dc, const RECT& rect, const char* text, int size) {
    const int n = static_cast<int>(strlen(text));
    const int x = rect.left + half(rect.right - rect.left - size);
    const int y = rect.top + half((rect.bottom - rect.top) + half(n * size));
    TextOutA(dc, x, y, text, n);
}

void paintProgressBar(HWND hwnd, int newPosition, bool useNewPosition) {
    const SkinPalette& palette = *skinPalette;
    gdi::WindowContext dc = gdi::WindowContext::client(hwnd);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, palette.textColor);
    RECT client;
    GetClientRect(hwnd, &client);
    const int w = client.right, h = client.bottom;
    paintProgressTrack(hwnd);
    if (w <= 2 || h <= 2) return;  // no room inside the frame

    ProgressState state = readProgressState(hwnd);
    if (useNewPosition) state.position = newPosition;
    const std::string text = std::to_string(progressPercent(state.low, state.high, state.position)) + "%";
    const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    const bool vertical = style & PBS_VERTICAL, smooth = style & PBS_SMOOTH;
    const ProgressBarLayout layout = progressBarLayout(w, h, vertical, smooth, state.low, state.high, state.position);
    const RECT& q = layout.bar;
    const COLORREF light = palette.faceStart[0], dark = palette.markColor;
    gdi::Pen separator(CreatePen(PS_SOLID, 0, palette.windowColor));

    if (!vertical) {
        gdi::Font font(createCellFont(songFace, q.bottom - q.top));
        gdi::Select selectedFont(dc, font);
        if (q.right > q.left) {
            const int middle = q.top + half(q.bottom - q.top);
            fillGradient(dc, q.left, q.top, q.right, middle, light, blend(0.88f, dark, light), false);
            fillGradient(dc, q.left, middle, q.right, q.bottom, blend(0.8f, dark, light), dark, false);
        }
        {
            gdi::Select selectedPen(dc, separator);
            for (int i = 1; i <= layout.blocks; ++i)
                for (const int x : {(i - 1) * layout.pitch, i * layout.pitch + 1}) {
                    MoveToEx(dc, x, q.top, nullptr);
                    LineTo(dc, x, q.bottom);
                }
        }
        RECT all = client;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &all, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    } else {
        const int size = q.right - q.left;
        gdi::Font font(createCellFont(songFace, size, 0, FW_DONTCARE, 900));  // text runs upward
        gdi::Select selectedFont(dc, font);
        if (q.bottom > q.top) {
            fillGradient(dc, q.left, q.top, truncated(q.right / 2.0), q.bottom, light, blend(0.88f, dark, light), true);
            fillGradient(dc, truncated(q.right - q.right / 2.0), q.top, q.right, q.bottom, blend(0.8f, dark, light), dark,
                         true);
        }
        {
            gdi::Select selectedPen(dc, separator);
            for (int i = 1; i <= layout.blocks; ++i)
                for (const int y : {q.top + (i - 1) * layout.pitch, q.top + i * layout.pitch - 1}) {
                    MoveToEx(dc, q.left, y, nullptr);
                    LineTo(dc, q.right, y);
                }
        }
        drawVerticalPercent(dc, client, text.c_str(), size);
    }
    // Two rings: lineColor outside (columns 0 and w - 2, corners rounded off), windowColor inside it.
    // The inner ring keeps its corners: cut, they would show single dots of the bar.
    frameRoundRect(dc, 0, 0, w, h, palette.lineColor);
    frameRoundRect(dc, 1, 1, w - 1, h - 1, palette.windowColor, 0);
}
