// Small owners for GDI handles and device contexts, so that every paint releases what it made.
#pragma once
#include <windows.h>
#include <utility>

namespace gdi {

// Owns one GDI object (pen, brush, font, bitmap, region) and deletes it.
template <class Handle>
class Object {
public:
    explicit Object(Handle handle = nullptr) noexcept : handle_(handle) {}
    ~Object() { reset(); }
    Object(Object&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Object& operator=(Object&& other) noexcept {
        if (this != &other) { reset(); handle_ = std::exchange(other.handle_, nullptr); }
        return *this;
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    Handle get() const noexcept { return handle_; }
    operator Handle() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }
    Handle release() noexcept { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) noexcept {
        if (handle_) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_;
};

using Pen = Object<HPEN>;
using Brush = Object<HBRUSH>;
using Font = Object<HFONT>;
using Bitmap = Object<HBITMAP>;
using Region = Object<HRGN>;

// A memory device context (CreateCompatibleDC), deleted with DeleteDC.
class MemoryDC {
public:
    explicit MemoryDC(HDC reference = nullptr) noexcept : dc_(CreateCompatibleDC(reference)) {}
    ~MemoryDC() { if (dc_) DeleteDC(dc_); }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const noexcept { return dc_; }
    operator HDC() const noexcept { return dc_; }

private:
    HDC dc_;
};

// A context obtained for a window (GetDC / GetWindowDC / GetDCEx), released with ReleaseDC.
class WindowContext {
public:
    WindowContext(HWND window, HDC dc) noexcept : window_(window), dc_(dc) {}
    static WindowContext client(HWND window) noexcept { return {window, GetDC(window)}; }
    static WindowContext whole(HWND window) noexcept { return {window, GetWindowDC(window)}; }
    ~WindowContext() { if (dc_) ReleaseDC(window_, dc_); }
    WindowContext(WindowContext&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowContext(const WindowContext&) = delete;
    WindowContext& operator=(const WindowContext&) = delete;
    HDC get() const noexcept { return dc_; }
    operator HDC() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a context for one scope and puts the previous one back.
class Select {
public:
    Select(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~Select() { if (previous_) SelectObject(dc_, previous_); }
    Select(const Select&) = delete;
    Select& operator=(const Select&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Saves a context's state (clip region, colours, modes, selections) and restores it.
class SavedState {
public:
    explicit SavedState(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedState() { if (saved_) RestoreDC(dc_, saved_); }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

private:
    HDC dc_;
    int saved_;
};

// A 32-bit top-down DIB section (rows of 0x00RRGGBB); `bits` receives its pixels when asked for.
inline HBITMAP createDibSection(int width, int height, void** bits = nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits) *bits = pixels;
    return bitmap;
}

}  // namespace gdi
