#include "skin/theme.h"

#include <objbase.h>

#include <cmath>

#include "assets/resource.h"
#include "skin/decode.h"

SkinSprites* skinSprites = nullptr;
SkinPalette* skinPalette = nullptr;
HDC atlasDC = nullptr;
HBRUSH editBrush = nullptr;
HBRUSH staticBrush = nullptr;

namespace {

// Where each piece lies in the atlas; margins are the pixels never stretched.
constexpr SkinSprites kSprites = {
    /* leftBorder */ {{41, 217, 3, 14, 0, 0, 0, 0}, {213, 0, 3, 15, 0, 0, 0, 0}, 0},
    /* caption */ {{0, 31, 169, 31, 46, 7, 53, 0}, {0, 0, 169, 31, 42, 7, 46, 0}, 0xFF00FF},
    /* rightBorder */ {{215, 81, 3, 14, 0, 0, 0, 0}, {213, 62, 3, 14, 0, 0, 0, 0}, 0},
    /* bottomBorder */ {{193, 26, 24, 5, 6, 0, 6, 0}, {169, 26, 24, 5, 6, 0, 6, 0}, 0xFF00FF},
    /* minimizeButton */ {{{75, 137, 25, 18}, {50, 137, 25, 18}, {25, 137, 25, 18}, {0, 137, 25, 18}}, 0xFF00FF},
    /* maximizeButton */ {{{170, 102, 26, 18}, {144, 102, 26, 18}, {118, 102, 26, 18}, {92, 102, 26, 18}}, 0},
    /* closeButton */ {{{137, 81, 42, 18}, {95, 81, 42, 18}, {53, 81, 42, 18}, {169, 31, 42, 18}}, 0xFF00FF},
    /* restoreButton */ {{{66, 102, 26, 18}, {40, 102, 26, 18}, {14, 102, 26, 18}, {179, 81, 26, 18}}, 0xFF00FF},
    /* backgroundCell */ {37, 155, 20, 20},
    /* captionTextColor */ 0x800000,
};

int64_t floorDiv(int64_t x, int64_t d) {
    const int64_t q = x / d;
    return (x % d != 0 && ((x < 0) != (d < 0))) ? q - 1 : q;
}

// The atlas, decoded once from the GIF embedded in the executable.
HBITMAP decodeAtlas() {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDR_SKIN_ATLAS), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!resource) return nullptr;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    // The decoder needs COM; a thread that has none yet gets it for this one decode.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const DecodedPicture picture = decodePicture(bytes, SizeofResource(module, resource), RGB(255, 0, 255));
    if (SUCCEEDED(com)) CoUninitialize();
    return picture ? frameToBitmap(picture.width, picture.height, picture.frames[0]) : nullptr;
}

}  // namespace

void allocateSkinTables() {
    skinSprites = new SkinSprites{};
    skinPalette = new SkinPalette{};
}

void releaseSkinTables() {
    delete skinSprites;
    delete skinPalette;
    skinSprites = nullptr;
    skinPalette = nullptr;
}

void loadDefaultPalette() {
    SkinPalette& p = *skinPalette;
    p.windowColor = RGB(202, 225, 243);
    p.faceStart[0] = RGB(200, 237, 236);
    p.faceStart[1] = RGB(250, 240, 150);
    p.faceStart[2] = RGB(160, 237, 246);
    // faceStart[3] keeps whatever it held (black after allocation): the disabled face starts black.
    p.faceEnd[0] = RGB(160, 237, 246);
    p.faceEnd[1] = RGB(160, 237, 246);
    p.faceEnd[2] = RGB(250, 240, 150);
    p.faceEnd[3] = RGB(128, 128, 128);
    p.textColor = RGB(50, 55, 160);
    p.lineColor = RGB(102, 192, 250);
    p.markColor = RGB(0, 205, 65);
}

void setupTheme(const SkinPalette& given, bool useGivenPalette) {
    if (!skinSprites || !skinPalette) allocateSkinTables();
    HBITMAP atlas = decodeAtlas();
    atlasDC = CreateCompatibleDC(nullptr);
    SelectObject(atlasDC, atlas);  // stays selected for the rest of the run
    *skinSprites = kSprites;
    if (useGivenPalette)
        *skinPalette = given;
    else
        loadDefaultPalette();
    editBrush = CreateSolidBrush(blend(1.0f, skinPalette->windowColor, 0xFFFFFF));
    staticBrush = CreateSolidBrush(skinPalette->windowColor);
}

int32_t redOf(int32_t colour) {
    const int64_t r0 = colour - floorDiv(colour, 65536) * 65536;
    return static_cast<int32_t>(r0 - floorDiv(r0, 256) * 256);
}

int32_t greenOf(int32_t colour) {
    const int64_t r0 = colour - floorDiv(colour, 65536) * 65536;
    return static_cast<int32_t>(floorDiv(r0, 256));
}

int32_t blueOf(int32_t colour) { return static_cast<int32_t>(floorDiv(colour, 65536)); }

COLORREF blend(float f, COLORREF a, COLORREF b) {
    const double factor = f;  // single precision on purpose: 0.88f is a little below 0.88
    auto mix = [factor](int32_t x, int32_t y) {
        return static_cast<int32_t>(std::trunc((x * factor + factor * y) / 2.0));
    };
    const auto ia = static_cast<int32_t>(a), ib = static_cast<int32_t>(b);
    const int32_t red = mix(redOf(ia), redOf(ib));
    const int32_t green = mix(greenOf(ia), greenOf(ib));
    const int32_t blue = mix(blueOf(ia), blueOf(ib));
    return static_cast<COLORREF>(red + (green & 0xFF) * 256 + blue * 65536);
}
