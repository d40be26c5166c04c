// The bad-input corpus: pictures that are empty, cut short, misnamed, claim absurd sizes or move,
// and template names that are long, spaced or not expressible in the ANSI code page. Made on the
// spot from one good JPEG, so that nothing but this generator is committed. Used by the bad-input
// tests and by tools/corpus (which writes the same files for the end-to-end runs).
#pragma once
#include <windows.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace corpus {

// What a picture box may show for a picture.
enum class Shows {
    picture,  // decodable: the box shows it
    nothing,  // undecodable: the box stays empty
    either,   // cut short: a decoder may show the part it got, or nothing
};

struct Picture {
    std::u8string name;  // UTF-8; written with the wide file calls
    std::vector<uint8_t> bytes;
    Shows shows;
    const char* what;
};

// ---- byte writers ----

inline void put16le(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}
inline void put32le(std::vector<uint8_t>& v, uint32_t x) {
    put16le(v, x & 0xFFFF);
    put16le(v, x >> 16);
}
inline void put32be(std::vector<uint8_t>& v, uint32_t x) {
    for (int shift = 24; shift >= 0; shift -= 8) v.push_back((x >> shift) & 0xFF);
}

// A 24-bit bottom-up BMP of w × h whose header may claim other sizes (claimed 0: the real ones).
inline std::vector<uint8_t> bmp(int w, int h, int32_t claimW = 0, int32_t claimH = 0, uint16_t bits = 24) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> b = {'B', 'M'};
    put32le(b, static_cast<uint32_t>(54 + stride * h));
    put32le(b, 0);
    put32le(b, 54);
    put32le(b, 40);
    put32le(b, static_cast<uint32_t>(claimW ? claimW : w));
    put32le(b, static_cast<uint32_t>(claimH ? claimH : h));
    put16le(b, 1);
    put16le(b, bits);
    put32le(b, 0);  // BI_RGB
    put32le(b, static_cast<uint32_t>(stride * h));
    for (int i = 0; i < 4; ++i) put32le(b, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < stride; ++x) b.push_back(x < w * 3 ? static_cast<uint8_t>((x * 7 + y * 13) & 0xFF) : 0);
    return b;
}

inline void pngChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    put32be(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    put32be(png, crc32(0, png.data() + start, static_cast<uInt>(png.size() - start)));
}

inline std::vector<uint8_t> pngHeader(uint32_t w, uint32_t h) {
    std::vector<uint8_t> ihdr;
    put32be(ihdr, w);
    put32be(ihdr, h);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, not interlaced
    return ihdr;
}

// Deflated rows (filter byte 0 and RGB) of a w × h picture with a shade per frame.
inline std::vector<uint8_t> pngPixels(int w, int h, int shade) {
    std::vector<uint8_t> raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x) raw.insert(raw.end(), {static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 4),
                                                           static_cast<uint8_t>(shade)});
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(size);
    compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    packed.resize(size);
    return packed;
}

constexpr uint8_t pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// An RGB PNG of w × h whose header may claim other sizes.
inline std::vector<uint8_t> png(int w, int h, uint32_t claimW = 0, uint32_t claimH = 0) {
    std::vector<uint8_t> p(std::begin(pngSignature), std::end(pngSignature));
    pngChunk(p, "IHDR", pngHeader(claimW ? claimW : w, claimH ? claimH : h));
    pngChunk(p, "IDAT", pngPixels(w, h, 90));
    pngChunk(p, "IEND", {});
    return p;
}

// An animated PNG of two frames; decoders without animation show the first.
inline std::vector<uint8_t> animatedPng(int w, int h) {
    std::vector<uint8_t> p(std::begin(pngSignature), std::end(pngSignature));
    pngChunk(p, "IHDR", pngHeader(w, h));
    std::vector<uint8_t> actl;
    put32be(actl, 2);  // frames
    put32be(actl, 0);  // plays for ever
    pngChunk(p, "acTL", actl);
    uint32_t sequence = 0;
    auto frameControl = [&] {
        std::vector<uint8_t> fctl;
        put32be(fctl, sequence++);
        put32be(fctl, w);
        put32be(fctl, h);
        put32be(fctl, 0);
        put32be(fctl, 0);
        fctl.insert(fctl.end(), {0, 10, 0, 100, 0, 0});  // 10/100 s, no disposal, source blend
        pngChunk(p, "fcTL", fctl);
    };
    frameControl();
    pngChunk(p, "IDAT", pngPixels(w, h, 40));
    frameControl();
    std::vector<uint8_t> fdat;
    put32be(fdat, sequence++);
    const std::vector<uint8_t> second = pngPixels(w, h, 220);
    fdat.insert(fdat.end(), second.begin(), second.end());
    pngChunk(p, "fdAT", fdat);
    pngChunk(p, "IEND", {});
    return p;
}

struct GifFrame {
    uint16_t left, top, width, height;
    uint8_t colour;  // index into the four-colour table, the whole frame in it
    uint16_t delayCs;
    size_t pixelsWritten = 0;  // 0: width × height; fewer for a frame that claims more than it holds
};

// A GIF89a with a four-colour table and the given frames. The image data sends a clear code before
// every pixel, so the code width stays at 3 bits and no compressor is needed.
inline std::vector<uint8_t> gif(uint16_t screenW, uint16_t screenH, const std::vector<GifFrame>& frames) {
    std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a'};
    put16le(g, screenW);
    put16le(g, screenH);
    g.insert(g.end(), {0xF1, 0, 0});
    g.insert(g.end(), {200, 40, 40, 40, 160, 60, 40, 60, 200, 240, 220, 80});
    if (frames.size() > 1)
        g.insert(g.end(), {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0});
    for (const GifFrame& f : frames) {
        g.insert(g.end(), {0x21, 0xF9, 4, 0x04});
        put16le(g, f.delayCs);
        g.insert(g.end(), {0, 0});
        g.push_back(0x2C);
        put16le(g, f.left);
        put16le(g, f.top);
        put16le(g, f.width);
        put16le(g, f.height);
        g.push_back(0);
        g.push_back(2);
        std::vector<uint8_t> data;
        uint32_t bits = 0;
        int count = 0;
        auto emit = [&](uint32_t code) {
            bits |= code << count;
            for (count += 3; count >= 8; count -= 8, bits >>= 8) data.push_back(bits & 0xFF);
        };
        const size_t pixels = f.pixelsWritten ? f.pixelsWritten : static_cast<size_t>(f.width) * f.height;
        for (size_t i = 0; i < pixels; ++i) {
            emit(4);
            emit(f.colour & 3);
        }
        emit(5);
        if (count > 0) data.push_back(bits & 0xFF);
        for (size_t at = 0; at < data.size(); at += 255) {
            const size_t n = data.size() - at < 255 ? data.size() - at : 255;
            g.push_back(static_cast<uint8_t>(n));
            g.insert(g.end(), data.begin() + at, data.begin() + at + n);
        }
        g.push_back(0);
    }
    g.push_back(0x3B);
    return g;
}

// The JPEG with its frame header claiming width × height.
inline std::vector<uint8_t> jpegClaiming(std::vector<uint8_t> jpeg, uint16_t width, uint16_t height) {
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] >= 0xC0 && jpeg[i + 1] <= 0xC2) {
            jpeg[i + 5] = height >> 8;
            jpeg[i + 6] = height & 0xFF;
            jpeg[i + 7] = width >> 8;
            jpeg[i + 8] = width & 0xFF;
            break;
        }
    }
    return jpeg;
}

inline std::vector<uint8_t> head(const std::vector<uint8_t>& bytes, size_t n) {
    return {bytes.begin(), bytes.begin() + (n < bytes.size() ? n : bytes.size())};
}

inline std::vector<uint8_t> text(const char* s) { return {s, s + lstrlenA(s)}; }

// Every picture of the corpus, made from one good JPEG (the built-in template does).
inline std::vector<Picture> pictures(const std::vector<uint8_t>& jpeg) {
    const std::vector<uint8_t> goodPng = png(64, 40), goodBmp = bmp(60, 70);
    const std::vector<uint8_t> goodGif = gif(40, 30, {{0, 0, 40, 30, 0, 10}, {0, 0, 40, 30, 1, 10}, {10, 5, 20, 20, 2, 10}});
    std::vector<uint8_t> noise(4096);
    uint32_t seed = 12345;
    for (uint8_t& b : noise) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    std::vector<uint8_t> program = text("MZ\x90");
    program.resize(2048, 0);
    // A still GIF whose frame claims 1000 × 1000 inside its screen but holds only 50 pixels.
    const std::vector<uint8_t> shortFrame = gif(1000, 1000, {{0, 0, 1000, 1000, 2, 0, 50}});
    // 400 one-pixel frames over a 640 × 480 screen: every frame is a whole composed picture, more
    // than the decoder keeps for one animation.
    std::vector<GifFrame> flicker;
    for (uint16_t i = 0; i < 400; ++i) flicker.push_back({static_cast<uint16_t>(i % 640), 5, 1, 1, static_cast<uint8_t>(i & 3), 2});

    return {
        {u8"good.jpg", jpeg, Shows::picture, "a good JPEG"},
        {u8"good.bmp", goodBmp, Shows::picture, "a good 24-bit BMP"},
        {u8"good.png", goodPng, Shows::picture, "a good PNG"},
        {u8"animated.gif", goodGif, Shows::picture, "an animated GIF of three frames"},
        {u8"animated.png", animatedPng(48, 32), Shows::picture, "an animated PNG"},
        {u8"zero-delay.gif", gif(20, 20, {{0, 0, 20, 20, 0, 0}, {0, 0, 20, 20, 3, 0}}), Shows::picture,
         "an animated GIF without delays"},
        {u8"flicker.gif", gif(640, 480, flicker), Shows::picture, "400 frames, more than one animation may keep"},

        {u8"zero.jpg", {}, Shows::nothing, "an empty .jpg"},
        {u8"zero.bmp", {}, Shows::nothing, "an empty .bmp"},
        {u8"zero.gif", {}, Shows::nothing, "an empty .gif"},

        {u8"cut-third.jpg", head(jpeg, jpeg.size() / 3), Shows::either, "a JPEG cut after a third"},
        {u8"cut-header.jpg", head(jpeg, 20), Shows::nothing, "a JPEG cut inside its header"},
        {u8"cut.png", head(goodPng, goodPng.size() - 30), Shows::either, "a PNG cut inside its data"},
        {u8"cut-screen.gif", head(goodGif, 13), Shows::nothing, "a GIF cut after its screen descriptor"},
        {u8"cut.gif", head(goodGif, goodGif.size() / 2), Shows::either, "a GIF cut inside its frames"},
        {u8"cut.bmp", head(goodBmp, 54 + 100), Shows::either, "a BMP cut inside its pixels"},
        {u8"short-frame.gif", shortFrame, Shows::either, "a GIF frame holding fewer pixels than it claims"},

        {u8"png-named.jpg", goodPng, Shows::picture, "a PNG named .jpg"},
        {u8"bmp-named.jpg", goodBmp, Shows::picture, "a BMP named .jpg"},
        {u8"gif-named.jpg", goodGif, Shows::picture, "a GIF named .jpg"},
        {u8"jpeg-named.bmp", jpeg, Shows::picture, "a JPEG named .bmp"},
        {u8"text.jpg", text("not a picture\r\n"), Shows::nothing, "text named .jpg"},
        {u8"html.gif", text("<html><body>GIF89a</body></html>"), Shows::nothing, "HTML named .gif"},
        {u8"noise.jpg", noise, Shows::nothing, "random bytes named .jpg"},
        {u8"program.jpg", program, Shows::nothing, "a program named .jpg"},

        {u8"huge.jpg", jpegClaiming(jpeg, 60000, 60000), Shows::nothing, "a JPEG claiming 60000 x 60000"},
        {u8"zero-size.jpg", jpegClaiming(jpeg, 0, 0), Shows::nothing, "a JPEG claiming 0 x 0"},
        {u8"huge.png", png(8, 8, 60000, 60000), Shows::nothing, "a PNG claiming 60000 x 60000"},
        {u8"widest.png", png(8, 8, 0x7FFFFFFF, 1), Shows::nothing, "a PNG claiming 2147483647 x 1"},
        {u8"zero-size.png", png(8, 8, 1, 0), Shows::nothing, "a PNG claiming 1 x 0"},
        {u8"huge-screen.gif", gif(65535, 65535, {{0, 0, 2, 2, 1, 0}}), Shows::nothing,
         "a GIF screen of 65535 x 65535"},
        {u8"huge-frame.gif", gif(16, 16, {{0, 0, 65535, 65535, 1, 0, 16}}), Shows::nothing,
         "a GIF frame of 65535 x 65535"},
        {u8"huge.bmp", bmp(4, 4, 60000, 60000), Shows::nothing, "a BMP claiming 60000 x 60000"},
        {u8"tallest.bmp", bmp(4, 4, 4, INT32_MIN), Shows::nothing, "a BMP claiming a height of -2147483648"},
        {u8"wrapping.bmp", bmp(4, 4, 0x40000001, 4, 32), Shows::nothing, "a BMP whose row size wraps around"},
    };
}

// Template names: Chinese, spaces, 200 characters, and a character the ANSI code page lacks.
struct Name {
    std::u8string name;
    bool ansiExpressible;  // false: the program sees "?" in its place and cannot open the file
};

inline std::u8string twoHundredCharacters() {
    std::u8string name = u8"荣誉证书模板";                      // 6 characters
    while (name.size() < 18 + 190) name += u8"abcdefghij"[name.size() % 10];  // 18 bytes = 6 characters
    return name.substr(0, 18 + 190) + u8".jpg";                    // 6 + 190 + 4 = 200 characters
}

inline std::vector<Name> templateNames() {
    return {
        {u8"优秀员工.jpg", true},
        {u8"带 空格 的 模板.jpg", true},
        {u8" leading and  double spaces .jpg", true},
        {twoHundredCharacters(), true},
        {u8"Emoji \U0001F600 模板.jpg", false},
    };
}

// ---- files ----

inline std::wstring wide(const std::u8string& utf8) {
    const auto* bytes = reinterpret_cast<const char*>(utf8.data());
    const int n = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(utf8.size()), w.data(), n);
    return w;
}

// The name as the program's "A" calls see it (GBK, "?" where it has no character).
inline std::string ansi(const std::u8string& utf8) {
    const std::wstring w = wide(utf8);
    const int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string a(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), a.data(), n, nullptr, nullptr);
    return a;
}

inline bool writeFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

// Writes every picture and, from the good JPEG, every template name into `folder` (which must exist).
inline bool writeAll(const std::wstring& folder, const std::vector<uint8_t>& jpeg) {
    bool ok = true;
    for (const Picture& p : pictures(jpeg)) ok = writeFile(folder + L"\\" + wide(p.name), p.bytes) && ok;
    for (const Name& n : templateNames()) ok = writeFile(folder + L"\\" + wide(n.name), jpeg) && ok;
    return ok;
}

}  // namespace corpus
