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

uint32_t rgbOf(COLORREF colour) {  // COLORREF 0x00BBGGRR to 0x00RRGGBB
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

}  // namespace

DecodedPicture decodePicture(const void* data, size_t size, COLORREF background, uint64_t maxPixels) {
    DecodedPicture picture;
    if (!data || size == 0 || size > 0x7FFFFFFF) return picture;

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
