// Pure geometry of the skinned frame: where the frame pieces, caption buttons, icon and caption
// text go, what lies under a screen point, and how the caption buttons change state. Numbers in,
// numbers out, so every rule can be checked without a window.
#pragma once
#include <windows.h>
#include <array>
#include <cstdint>

#include "skin/theme.h"

// One sprite copy: destination in window coordinates, source in the atlas, key (0 = opaque).
struct SpriteCopy {
    SpriteRect destination;
    SpriteRect source;
    COLORREF key;
};

// The caption button slots, also the values hitTestCaptionButtons answers.
enum CaptionSlot : int { kNoSlot = 0, kMinimizeSlot = 1, kMaximizeSlot = 2, kCloseSlot = 3 };

// The states of the three slots (CaptionButtonState values: 0 normal, 1 hover, 2 pressed,
// 3 unavailable).
struct ButtonStates {
    intptr_t minimize = 0;
    intptr_t maximize = 0;
    intptr_t close = 0;
    intptr_t& operator[](CaptionSlot slot);
    bool operator==(const ButtonStates&) const = default;
};

// The non-client insets: every skinned frame takes the active sprites' sizes.
void insetClientArea(const SkinSprites& sprites, RECT& rectangle);

// The eleven frame pieces of a window W × H in drawing order, for the active or inactive look.
std::array<SpriteCopy, 11> framePieces(const SkinSprites& sprites, bool active, int width, int height);

// Top of the 16 × 16 icon and of the caption text box in window coordinates.
int captionIconTop(const SkinSprites& sprites);

// The caption buttons of a window W wide, in drawing order minimize slot, maximize slot, close;
// `drawn` is false for a button that is left out.
struct CaptionButtonCopy {
    bool drawn;
    SpriteCopy copy;
};
std::array<CaptionButtonCopy, 3> captionButtons(const SkinSprites& sprites, int width, bool active,
                                                const ButtonStates& states, bool minimized, bool maximized);

// The caption text box in window coordinates (left, top, right, bottom).
RECT captionTextBox(const SkinSprites& sprites, int width, bool showsIcon, const ButtonStates& states);

// The point of a WM_NCHITTEST position: signed 16-bit x (low word) and y (high word).
POINT pointFromPosition(LPARAM position);

// Which caption button slot a screen point is on; `window` is the window rectangle on screen.
CaptionSlot captionButtonAt(const SkinSprites& sprites, const RECT& window, POINT point, const ButtonStates& states,
                            bool minimized);

// The icon box on screen; the half pixel of the caption centring is kept before truncation.
RECT iconBoxOnScreen(const SkinSprites& sprites, const RECT& window);

// Everything hitTestFrame needs beside the geometry.
struct FrameHitInput {
    bool systemMenu = false;
    bool hasIcon = false;
    ButtonStates states;
    bool minimized = false;  // restore flag set and not zoomed
    bool zoomed = false;     // IsZoomed
};
// The hit code (HTCLIENT, HTCAPTION, HTCLOSE, ...) of a screen point.
int frameHitCode(const SkinSprites& sprites, const RECT& window, POINT point, const FrameHitInput& input);

// Caption button state changes. A live state is 1 (hover) or 2 (pressed); 3 never changes.
CaptionSlot slotOfHitCode(WPARAM hitCode);
// The pointer is over `slot`: it goes 0 → 1, the other live slots go back to 0.
ButtonStates hoverOver(ButtonStates states, CaptionSlot slot);
// The pointer left the buttons: every live slot goes back to 0.
ButtonStates clearLive(ButtonStates states);
// A left press on `hitCode`: the first matching available slot becomes pressed; kNoSlot when none.
CaptionSlot pressSlot(ButtonStates& states, WPARAM hitCode);
// A left release on `hitCode`: a pressed slot under it becomes hover; kNoSlot when none was pressed.
CaptionSlot releaseSlot(ButtonStates& states, WPARAM hitCode);
