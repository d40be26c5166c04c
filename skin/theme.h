// The skin's process-wide theme: the atlas, where each frame piece lies in it, the colour set,
// the two shared brushes and the colour helpers.
#pragma once
#include <windows.h>
#include <cstdint>

// A rectangle of the atlas: left column, top row, width, height.
struct SpriteRect {
    int32_t x, y, w, h;
};

// One frame piece with its stretch margins (pixels never stretched); the fourth margin is always 0.
struct Sprite {
    int32_t x, y, w, h;
    int32_t mL, mT, mR, mB;
};

// Active and inactive look of one piece; key 0 copies opaque, any other value is the transparent colour.
struct SpritePair {
    Sprite active;
    Sprite inactive;
    COLORREF key;
};

// Caption button rectangles by state: 0 normal, 1 hover, 2 pressed, 3 unavailable or inactive window.
struct StateSprites {
    SpriteRect state[4];
    COLORREF key;
};

struct SkinSprites {
    SpritePair leftBorder;
    SpritePair caption;
    SpritePair rightBorder;
    SpritePair bottomBorder;
    StateSprites minimizeButton;
    StateSprites maximizeButton;
    StateSprites closeButton;
    StateSprites restoreButton;
    SpriteRect backgroundCell;
    COLORREF captionTextColor;
};

// The colour set of the skinned controls. faceStart/faceEnd are indexed by face: 0 normal,
// 1 hover, 2 pressed, 3 disabled.
struct SkinPalette {
    COLORREF windowColor;
    COLORREF faceStart[4];
    COLORREF faceEnd[4];
    COLORREF textColor;
    COLORREF lineColor;
    COLORREF markColor;
};

// The tables live from allocateSkinTables (program start) to releaseSkinTables (program end).
extern SkinSprites* skinSprites;
extern SkinPalette* skinPalette;
// The decoded atlas stays selected in atlasDC until the skin's main window is destroyed.
extern HDC atlasDC;
extern HBRUSH editBrush;
extern HBRUSH staticBrush;

void allocateSkinTables();
void releaseSkinTables();
void loadDefaultPalette();

// Theme set-up, once per process from skinStart: atlas, sprite table, palette, brushes.
void setupTheme(const SkinPalette& given, bool useGivenPalette);

// Channel helpers over a colour taken as a signed 32-bit value (floor rounding, see theme.cpp).
int32_t redOf(int32_t colour);
int32_t greenOf(int32_t colour);
int32_t blueOf(int32_t colour);
// Per channel (k(a)·f + f·k(b)) / 2, truncated; f stays single precision on purpose.
COLORREF blend(float f, COLORREF a, COLORREF b);
