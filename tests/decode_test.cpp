// Picture decoding: formats, frames, and bytes that must count as undecodable.
#include <gtest/gtest.h>

#include "skin/decode.h"
#include "support/app.h"

namespace {

std::vector<uint8_t> bmp24(int w, int h, COLORREF colour) {
    return testapp::bmp24(w, h, [colour](int, int) { return colour; });
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
