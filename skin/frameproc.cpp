// skinFrameProc: the window procedure of every skinned top-level window. It owns the frame
// (size, painting, activation look, hit testing, caption buttons), paints the client background,
// colours the child controls' requests and hands everything else to the saved procedure.
#include <cstring>

#include "skin/attach.h"
#include "skin/controls.h"
#include "skin/frame.h"
#include "skin/gdi.h"

namespace {

constexpr UINT kMessage174 = 0x00AE;  // an undocumented caption-drawing request, answered with 0
constexpr int kCornerWidth = 8;
constexpr int kCornerHeight = 9;

SIZE windowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

LRESULT colourRequest(UINT message, WPARAM wParam) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, skinPalette->textColor);
    if (message == WM_CTLCOLORLISTBOX) {
        // A combo box's drop-down list asks too: the combo box gets its frame redrawn with it.
        HWND owner = WindowFromDC(dc);
        if (owner && windowClassName(owner) == "ComboBox") frameComboBox(owner);
    }
    return reinterpret_cast<LRESULT>(message == WM_CTLCOLORSTATIC ? staticBrush : editBrush);
}

LRESULT drawItem(HWND window, WPARAM wParam, LPARAM lParam) {
    if (lParam) {
        DRAWITEMSTRUCT record;
        std::memcpy(&record, reinterpret_cast<const void*>(lParam), sizeof(record));
        paintSkinnedItem(record);
    }
    return callSavedProc(window, WM_DRAWITEM, wParam, lParam);
}

void paintBackground(HWND window) {
    PAINTSTRUCT ps;
    if (BeginPaint(window, &ps)) {
        paintClientBackground(ps.hdc, ps.rcPaint);
        EndPaint(window, &ps);
    }
}

LRESULT eraseBackground(HWND window, WPARAM wParam) {
    RECT client{};
    GetClientRect(window, &client);
    paintClientBackground(reinterpret_cast<HDC>(wParam), client);
    return 1;
}

LRESULT sizeChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    if (getSkinProp(window, prop::captionBar)) {
        applyFrameShape(window);
        if (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXIMIZED)
            setSkinProp(window, prop::restoreFlag, 1);
        else if (wParam == SIZE_RESTORED)
            setSkinProp(window, prop::restoreFlag, 0);
        paintCaptionButtons(window, nullptr);
    }
    return callSavedProc(window, WM_SIZE, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK skinFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCPAINT:
            paintNonClient(window, reinterpret_cast<HRGN>(wParam));
            return 0;
        case WM_PAINT:
            paintBackground(window);
            return 0;
        case WM_ERASEBKGND:
            return eraseBackground(window, wParam);
        case WM_NCCALCSIZE:
            return calcClientArea(reinterpret_cast<RECT*>(lParam));
        case WM_NCACTIVATE:
            return setActiveState(window, wParam);
        case WM_ACTIVATE:
            setActiveState(window, LOWORD(wParam));
            return 0;
        case WM_SIZE:
            return sizeChanged(window, wParam, lParam);
        case WM_NCHITTEST:
            return hitTestFrame(window, lParam);
        case kMessage174:
            return 0;
        case WM_NCMOUSEMOVE:
            trackCaptionHover(window, wParam);
            return 0;
        case WM_NCLBUTTONDOWN:
            return pressCaptionButton(window, message, wParam, lParam);
        case WM_NCLBUTTONUP:
            releaseCaptionButton(window, wParam);
            return 0;
        case WM_NCLBUTTONDBLCLK:
            pressCaptionButton(window, message, wParam, lParam);
            return 0;
        case WM_DESTROY:
            releaseFrameWindow(window);
            return callSavedProc(window, message, wParam, lParam);
        case WM_SETTEXT:
            return updateCaptionText(window, wParam, lParam);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
            return colourRequest(message, wParam);
        case WM_DRAWITEM:
            return drawItem(window, wParam, lParam);
        default:
            return callSavedProc(window, message, wParam, lParam);
    }
}

LRESULT setActiveState(HWND window, WPARAM state) {
    if (static_cast<intptr_t>(state) != getSkinProp(window, prop::activeState)) {
        setSkinProp(window, prop::activeState, static_cast<intptr_t>(state));
        paintNonClient(window, reinterpret_cast<HRGN>(1));
    }
    if (state == 1) return 0;
    ReleaseCapture();
    return 1;
}

void applyFrameShape(HWND window) {
    const SIZE size = windowSize(window);
    // The window owns the region once it is set.
    SetWindowRgn(window, CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, kCornerWidth, kCornerHeight), TRUE);
}

void frameComboBox(HWND window) {
    const SIZE size = windowSize(window);
    gdi::Brush line(CreateSolidBrush(skinPalette->lineColor));
    gdi::Region outline(CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, 0, 0));
    gdi::WindowContext dc = gdi::WindowContext::whole(window);
    if (dc.get() && line && outline) FrameRgn(dc, outline, line, 1, 1);
}

LRESULT updateCaptionText(HWND window, WPARAM wParam, LPARAM lParam) {
    // The window takes its own text first; the skin keeps a copy for the caption.
    const LRESULT result = callSavedProc(window, WM_SETTEXT, wParam, lParam);
    const char* text = reinterpret_cast<const char*>(lParam);
    const size_t length = text ? std::strlen(text) : 0;
    rewriteCaptionTextBlock(reinterpret_cast<HGLOBAL>(getSkinProp(window, prop::captionText)), text, length);

    if (getSkinProp(window, prop::captionBar)) {
        gdi::WindowContext dc = gdi::WindowContext::whole(window);
        gdi::Region band(CreateRectRgn(0, 0, windowSize(window).cx, skinSprites->caption.active.h));
        if (dc.get()) {
            SelectClipRgn(dc, band);
            paintFrame(dc, window);
        }
    }
    return result;
}

void releaseFrameWindow(HWND window) {
    if (window == skinMainWindow) {
        removeCreateHook();
        if (atlasDC) {
            HGDIOBJ atlas = GetCurrentObject(atlasDC, OBJ_BITMAP);
            DeleteDC(atlasDC);
            DeleteObject(atlas);
            atlasDC = nullptr;
        }
    }
    if (auto block = reinterpret_cast<HGLOBAL>(getSkinProp(window, prop::captionText))) {
        GlobalFree(block);
        // A caption change during the rest of the destruction must not reach the freed block.
        setSkinProp(window, prop::captionText, 0);
    }
}
