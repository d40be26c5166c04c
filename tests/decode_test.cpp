// Picture decoding: formats, frames, and bytes that must count as undecodable.
#include <gtest/gtest.h>

#include "skin/decode.h"

namespace {

std::vector<uint8_t> bmp24(int w, int h, COLORREF colour) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> bytes(54 + stride * h);
    auto put32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) bytes[at + i] = (v >> (8 * i)) & 0xFF; };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &bytes[54 + y * stride + x * 3];
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    return bytes;
}

}  // namespace

TEST(Decode, BmpGivesOneFrameOfItsSize) {
    auto bytes = bmp24(7, 5, RGB(10, 20, 30));
    auto picture = decodePicture(bytes.data(), bytes.size(), RGB(0, 0, 0));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture.width, 7);
    EXPECT_EQ(picture.height, 5);
    ASSERT_EQ(picture.frames.size(), 1u);
    EXPECT_EQ(picture.frames[0].pixels[0], 0x0A141Eu);
}

TEST(Decode, EmptyTruncatedAndTextBytesAreUndecodable) {
    auto bytes = bmp24(7, 5, RGB(10, 20, 30));
    EXPECT_FALSE(decodePicture(nullptr, 0, 0));
    EXPECT_FALSE(decodePicture(bytes.data(), 10, 0));
    const char text[] = "this is not a picture";
    EXPECT_FALSE(decodePicture(text, sizeof(text), 0));
}

TEST(Decode, PictureOverTheLimitIsUndecodable) {
    auto bytes = bmp24(64, 64, RGB(1, 2, 3));
    EXPECT_FALSE(decodePicture(bytes.data(), bytes.size(), 0, 64 * 63));
    EXPECT_TRUE(decodePicture(bytes.data(), bytes.size(), 0, 64 * 64));
}
