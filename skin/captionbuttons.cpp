// Hit testing of the skinned frame and the caption buttons' hover, press and release.
#include "skin/attach.h"
#include "skin/frame.h"

namespace {

constexpr UINT kHoverPeriodMs = 200;

RECT windowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// The hover timer is keyed by the window handle's value.
UINT_PTR hoverTimerId(HWND window) { return reinterpret_cast<UINT_PTR>(window); }

// Stores changed states and repaints the buttons; unchanged states cost nothing.
void applyStates(HWND window, const ButtonStates& before, const ButtonStates& after) {
    if (after == before) return;
    writeButtonStates(window, after);
    paintCaptionButtons(window, nullptr);
}

void stopHoverTimer(HWND window, UINT_PTR id) {
    KillTimer(window, id);
    setSkinProp(window, prop::timerState, 0);
}

}  // namespace

int hitTestCaptionButtons(HWND window, POINT point) {
    return captionButtonAt(*skinSprites, windowRect(window), point, readButtonStates(window),
                           isSkinMinimized(window));
}

bool hitTestIcon(HWND window, POINT point) {
    const RECT box = iconBoxOnScreen(*skinSprites, windowRect(window));
    return PtInRect(&box, point) && getSkinProp(window, prop::iconHandle) != 0;
}

LRESULT hitTestFrame(HWND window, LPARAM position) {
    FrameHitInput input;
    input.systemMenu = getSkinProp(window, prop::systemMenu) != 0;
    input.hasIcon = getSkinProp(window, prop::iconHandle) != 0;
    input.states = readButtonStates(window);
    input.minimized = isSkinMinimized(window);
    input.zoomed = IsZoomed(window) != FALSE;
    return frameHitCode(*skinSprites, windowRect(window), pointFromPosition(position), input);
}

void trackCaptionHover(HWND window, WPARAM hitCode) {
    const ButtonStates before = readButtonStates(window);
    ButtonStates after = before;
    if (const CaptionSlot slot = slotOfHitCode(hitCode); slot != kNoSlot) {
        if (!getSkinProp(window, prop::timerState)) {
            setSkinProp(window, prop::timerState, 1);
            SetTimer(window, hoverTimerId(window), kHoverPeriodMs, hoverTimerProc);
        }
        after = hoverOver(before, slot);
    } else if (getSkinProp(window, prop::timerState)) {
        stopHoverTimer(window, hoverTimerId(window));
        after = clearLive(before);
    }
    applyStates(window, before, after);
}

void CALLBACK hoverTimerProc(HWND window, UINT, UINT_PTR timerId, DWORD) {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (hitTestCaptionButtons(window, cursor) != kNoSlot) return;
    stopHoverTimer(window, timerId);
    const ButtonStates before = readButtonStates(window);
    applyStates(window, before, clearLive(before));
}

LRESULT pressCaptionButton(HWND window, UINT message, WPARAM hitCode, LPARAM position) {
    ButtonStates states = readButtonStates(window);
    if (pressSlot(states, hitCode) == kNoSlot)
        // Moving, sizing, the system menu and caption double-clicks are the platform's business.
        return DefWindowProcA(window, message, hitCode, position);
    writeButtonStates(window, states);
    paintCaptionButtons(window, nullptr);
    return 0;
}

void releaseCaptionButton(HWND window, WPARAM hitCode) {
    ButtonStates states = readButtonStates(window);
    const CaptionSlot released = releaseSlot(states, hitCode);
    writeButtonStates(window, states);
    // Posted, so the button shows its hover look before the command runs.
    switch (released) {
        case kMinimizeSlot:
            PostMessageA(window, WM_SYSCOMMAND, isSkinMinimized(window) ? SC_RESTORE : SC_MINIMIZE, 0);
            break;
        case kMaximizeSlot:
            PostMessageA(window, WM_SYSCOMMAND, isSkinMaximized(window) ? SC_RESTORE : SC_MAXIMIZE, 0);
            break;
        case kCloseSlot:
            PostMessageA(window, WM_CLOSE, 0, 0);
            break;
        case kNoSlot:
            break;
    }
    paintCaptionButtons(window, nullptr);
}
