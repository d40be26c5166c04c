// Decoding pictures from file bytes with the Windows Imaging Component: JPEG, BMP, GIF (every
// frame, composed as a viewer shows them) and PNG.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedFrame {
    std::vector<uint32_t> pixels;  // top-down rows of 0x00RRGGBB, width × height, fully composed
    unsigned delayMs = 0;          // how long the frame stays (0 for still pictures)
};

struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<DecodedFrame> frames;  // empty when the bytes could not be decoded
    explicit operator bool() const { return !frames.empty(); }
};

// A picture larger than this (per frame) counts as undecodable: 4096 × 4096 pixels.
inline constexpr uint64_t kMaxPicturePixels = 4096ull * 4096ull;
// All frames of an animation together may take at most this many bytes; later frames are dropped.
inline constexpr uint64_t kMaxAnimationBytes = 256ull << 20;

// Whether the header of JPEG, PNG, GIF or BMP bytes claims sizes (for a GIF: the logical screen and
// every frame) of at most maxPixels each. Other formats are refused. decodePicture asks this before
// any decoder sees the bytes: some decoders allocate whatever a header claims, and crash on absurd sizes.
bool pictureHeaderWithinLimit(const void* data, size_t size, uint64_t maxPixels);

// Decodes bytes; transparent pixels are laid over `background`. Needs COM on the calling thread.
DecodedPicture decodePicture(const void* data, size_t size, COLORREF background,
                             uint64_t maxPixels = kMaxPicturePixels);

// A 32-bit top-down DIB section holding one decoded frame.
HBITMAP frameToBitmap(int width, int height, const DecodedFrame& frame);
