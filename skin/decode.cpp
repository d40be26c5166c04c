#include "skin/decode.h"

#include <objbase.h>
#include <propidl.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "skin/gdi.h"

namespace {

// Holds one COM interface pointer and releases it.
template <class T>
class Com {
public:
    Com() = default;
    ~Com() { if (p_) p_->Release(); }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T** out() { if (p_) { p_->Release(); p_ = nullptr; } return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// Releases a PROPVARIANT filled by a metadata query.
struct Variant {
    PROPVARIANT value;
    Variant() { PropVariantInit(&value); }
    ~Variant() { PropVariantClear(&value); }
};

bool readUnsigned(IWICMetadataQueryReader* reader, const wchar_t* name, unsigned& result) {
    if (!reader) return false;
    Variant v;
    if (FAILED(reader->GetMetadataByName(name, &v.value))) return false;
    switch (v.value.vt) {
    case VT_UI1: result = v.value.bVal; return true;
    case VT_UI2: result = v.value.uiVal; return true;
    case VT_UI4: result = v.value.ulVal; return true;
    case VT_I2: result = static_cast<unsigned>(std::max<SHORT>(v.value.iVal, 0)); return true;
    case VT_I4: result = static_cast<unsigned>(std::max<LONG>(v.value.lVal, 0)); return true;
    default: return false;
    }
}

// Lays a premultiplied BGRA pixel over an opaque one.
uint32_t over(uint32_t bgra, uint32_t below) {
    const unsigned a = bgra >> 24;
    if (a == 255) return bgra & 0xFFFFFF;
    if (a == 0) return below;
    auto channel = [&](int shift) {
        const unsigned s = (bgra >> shift) & 0xFF, d = (below >> shift) & 0xFF;
        return std::min(255u, s + d * (255 - a) / 255) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

uint32_t le16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t le32(const uint8_t* p) { return le16(p) | (le16(p + 2) << 16); }
uint32_t be16(const uint8_t* p) { return (p[0] << 8) | p[1]; }
uint32_t be32(const uint8_t* p) { return (be16(p) << 16) | be16(p + 2); }

bool sizeWithin(uint64_t width, uint64_t height, uint64_t maxPixels) {
    return width > 0 && height > 0 && width * height <= maxPixels;
}

// The first frame header (SOFn) before the first scan, as the JPEG decoder reads it.
bool jpegWithinLimit(const uint8_t* b, size_t size, uint64_t maxPixels) {
    size_t i = 2;
    while (i < size) {
        while (i < size && b[i] != 0xFF) ++i;  // stray bytes between segments are skipped, as decoders do
        while (i < size && b[i] == 0xFF) ++i;
        if (i >= size) return false;
        const uint8_t marker = b[i++];
        if (marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0xD9 || marker == 0xDA) return false;  // image data before any frame header
        if (i + 2 > size) return false;
        const size_t length = be16(b + i);
        if (length < 2) return false;
        const bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) return i + 7 <= size && sizeWithin(be16(b + i + 5), be16(b + i + 3), maxPixels);
        i += length;
    }
    return false;
}

// The logical screen and the descriptor of every frame.
bool gifWithinLimit(const uint8_t* b, size_t size, uint64_t maxPixels) {
    if (size < 13) return false;
    const uint32_t screenW = le16(b + 6), screenH = le16(b + 8);
    if (screenW && screenH && !sizeWithin(screenW, screenH, maxPixels)) return false;
    size_t i = 13;
    if (b[10] & 0x80) i += size_t{3} << ((b[10] & 7) + 1);
    auto skipSubBlocks = [&] {
        while (i < size) {
            const uint8_t n = b[i++];
            if (n == 0) return;
            i += n;
        }
    };
    while (i < size) {
        const uint8_t block = b[i++];
        if (block == 0x21) {
            ++i;  // extension label
            skipSubBlocks();
        } else if (block == 0x2C) {
            if (i + 9 > size) return true;  // truncated: the decoder judges the rest
            if (!sizeWithin(le16(b + i + 4), le16(b + i + 6), maxPixels)) return false;
            const uint8_t flags = b[i + 8];
            i += 9;
            if (flags & 0x80) i += size_t{3} << ((flags & 7) + 1);
            ++i;  // minimum code size
            skipSubBlocks();
        } else {
            return true;  // trailer, or bytes no decoder reads further
        }
    }
    return true;
}

uint32_t rgbOf(COLORREF colour) {  // COLORREF 0x00BBGGRR to 0x00RRGGBB
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

}  // namespace

bool pictureHeaderWithinLimit(const void* data, size_t size, uint64_t maxPixels) {
    const auto* b = static_cast<const uint8_t*>(data);
    if (!b || size < 4) return false;
    if (b[0] == 0xFF && b[1] == 0xD8) return jpegWithinLimit(b, size, maxPixels);
    static constexpr uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 24 && std::memcmp(b, pngSignature, 8) == 0)
        return std::memcmp(b + 12, "IHDR", 4) == 0 && sizeWithin(be32(b + 16), be32(b + 20), maxPixels);
    if (size >= 6 && (std::memcmp(b, "GIF87a", 6) == 0 || std::memcmp(b, "GIF89a", 6) == 0))
        return gifWithinLimit(b, size, maxPixels);
    if (b[0] == 'B' && b[1] == 'M') {
        if (size < 26) return false;
        if (le32(b + 14) == 12) return sizeWithin(le16(b + 18), le16(b + 20), maxPixels);
        const int64_t width = static_cast<int32_t>(le32(b + 18)), height = static_cast<int32_t>(le32(b + 22));
        return width > 0 && sizeWithin(width, height < 0 ? -height : height, maxPixels);
    }
    return false;
}

DecodedPicture decodePicture(const void* data, size_t size, COLORREF background, uint64_t maxPixels) {
    DecodedPicture picture;
    if (!data || size == 0 || size > 0x7FFFFFFF) return picture;
    // The header is judged before any decoder sees it: some decoders allocate (or crash) on the
    // size a header claims.
    if (!pictureHeaderWithinLimit(data, size, maxPixels)) return picture;

    Com<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.out()))))
        return picture;
    Com<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), static_cast<DWORD>(size))))
        return picture;
    Com<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.out())))
        return picture;
    UINT frameCount = 0;
    if (FAILED(decoder->GetFrameCount(&frameCount)) || frameCount == 0) return picture;

    GUID container{};
    decoder->GetContainerFormat(&container);
    const bool gif = IsEqualGUID(container, GUID_ContainerFormatGif);

    // A GIF's frames are patches on a logical screen; other formats have one full frame.
    Com<IWICMetadataQueryReader> fileMeta;
    unsigned screenW = 0, screenH = 0;
    if (gif && SUCCEEDED(decoder->GetMetadataQueryReader(fileMeta.out()))) {
        readUnsigned(fileMeta.get(), L"/logscrdesc/Width", screenW);
        readUnsigned(fileMeta.get(), L"/logscrdesc/Height", screenH);
    }

    const uint32_t backdrop = rgbOf(background);
    std::vector<uint32_t> canvas;
    uint64_t bytesUsed = 0;
    for (UINT index = 0; index < frameCount; ++index) {
        Com<IWICBitmapFrameDecode> frame;
        if (FAILED(decoder->GetFrame(index, frame.out()))) break;
        UINT w = 0, h = 0;
        if (FAILED(frame->GetSize(&w, &h)) || w == 0 || h == 0) break;
        if (static_cast<uint64_t>(w) * h > maxPixels) break;

        unsigned left = 0, top = 0, delay = 0, disposal = 0;
        Com<IWICMetadataQueryReader> meta;
        if (gif && SUCCEEDED(frame->GetMetadataQueryReader(meta.out()))) {
            readUnsigned(meta.get(), L"/imgdesc/Left", left);
            readUnsigned(meta.get(), L"/imgdesc/Top", top);
            if (readUnsigned(meta.get(), L"/grctlext/Delay", delay)) delay *= 10;
            readUnsigned(meta.get(), L"/grctlext/Disposal", disposal);
        }
        if (index == 0) {
            picture.width = static_cast<int>(gif && screenW ? screenW : w);
            picture.height = static_cast<int>(gif && screenH ? screenH : h);
            if (static_cast<uint64_t>(picture.width) * picture.height > maxPixels) break;
            canvas.assign(static_cast<size_t>(picture.width) * picture.height, backdrop);
        }
        const uint64_t frameBytes = static_cast<uint64_t>(picture.width) * picture.height * 4;
        if (bytesUsed + frameBytes > kMaxAnimationBytes) break;

        Com<IWICFormatConverter> converter;
        if (FAILED(factory->CreateFormatConverter(converter.out())) ||
            FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                         0.0, WICBitmapPaletteTypeCustom)))
            break;
        std::vector<uint32_t> patch(static_cast<size_t>(w) * h);
        if (FAILED(converter->CopyPixels(nullptr, w * 4, static_cast<UINT>(patch.size() * 4),
                                         reinterpret_cast<BYTE*>(patch.data()))))
            break;

        std::vector<uint32_t> before;
        if (disposal == 3) before = canvas;  // restore to previous after this frame
        for (UINT y = 0; y < h; ++y) {
            const UINT cy = top + y;
            if (cy >= static_cast<UINT>(picture.height)) break;
            for (UINT x = 0; x < w; ++x) {
                const UINT cx = left + x;
                if (cx >= static_cast<UINT>(picture.width)) break;
                uint32_t& dst = canvas[static_cast<size_t>(cy) * picture.width + cx];
                dst = over(patch[static_cast<size_t>(y) * w + x], dst);
            }
        }
        DecodedFrame out;
        out.pixels = canvas;
        out.delayMs = frameCount > 1 ? (delay < 20 ? 100 : delay) : 0;  // browsers treat tiny delays as 100 ms
        picture.frames.push_back(std::move(out));
        bytesUsed += frameBytes;

        if (disposal == 2) {  // restore the frame's area to the background
            for (UINT y = 0; y < h && top + y < static_cast<UINT>(picture.height); ++y)
                for (UINT x = 0; x < w && left + x < static_cast<UINT>(picture.width); ++x)
                    canvas[static_cast<size_t>(top + y) * picture.width + left + x] = backdrop;
        } else if (disposal == 3) {
            canvas = std::move(before);
        }
    }
    if (picture.frames.empty()) picture.width = picture.height = 0;
    return picture;
}

HBITMAP frameToBitmap(int width, int height, const DecodedFrame& frame) {
    if (width <= 0 || height <= 0 || frame.pixels.size() != static_cast<size_t>(width) * height) return nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = gdi::createDibSection(width, height, &bits);
    if (bitmap && bits) std::memcpy(bits, frame.pixels.data(), frame.pixels.size() * 4);
    return bitmap;
}
