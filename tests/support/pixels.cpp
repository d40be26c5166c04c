#include "support/pixels.h"

#include <cstdio>

#include "skin/gdi.h"

namespace testpx {

namespace {
COLORREF fromRgb(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
uint32_t toRgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
}  // namespace

Canvas::Canvas(int w, int h, COLORREF colour) : width(w), height(h) {
    void* p = nullptr;
    dc = CreateCompatibleDC(nullptr);
    bitmap = gdi::createDibSection(w, h, &p);
    bits = static_cast<uint32_t*>(p);
    previous = SelectObject(dc, bitmap);
    fill(colour);
}

Canvas::~Canvas() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

COLORREF Canvas::at(int x, int y) const {
    GdiFlush();
    return fromRgb(bits[static_cast<size_t>(y) * width + x] & 0xFFFFFF);
}

void Canvas::set(int x, int y, COLORREF colour) {
    GdiFlush();
    bits[static_cast<size_t>(y) * width + x] = toRgb(colour);
}

void Canvas::fill(COLORREF colour) {
    GdiFlush();
    for (int i = 0; i < width * height; ++i) bits[i] = toRgb(colour);
}

COLORREF Capture::at(int x, int y) const { return fromRgb(pixels[static_cast<size_t>(y) * width + x]); }

Capture captureScreen(const RECT& r) {
    Capture capture;
    capture.width = r.right - r.left;
    capture.height = r.bottom - r.top;
    if (capture.width <= 0 || capture.height <= 0) return capture;
    Canvas canvas(capture.width, capture.height);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc, 0, 0, capture.width, capture.height, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    capture.pixels.assign(canvas.bits, canvas.bits + static_cast<size_t>(capture.width) * capture.height);
    for (auto& p : capture.pixels) p &= 0xFFFFFF;
    return capture;
}

Capture captureClient(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return captureScreen(r);
}

Capture captureWindow(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return captureScreen(r);
}

void pumpMessages(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

std::string colourText(COLORREF c) {
    char text[32];
    std::snprintf(text, sizeof(text), "(%d, %d, %d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

bool saveBmp(const Capture& capture, const std::string& path) {
    const int stride = (capture.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = capture.width;
    info.biHeight = capture.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * capture.height;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fwrite(&file, sizeof(file), 1, f);
    std::fwrite(&info, sizeof(info), 1, f);
    std::vector<unsigned char> row(stride);
    for (int y = capture.height - 1; y >= 0; --y) {
        for (int x = 0; x < capture.width; ++x) {
            const uint32_t p = capture.pixels[static_cast<size_t>(y) * capture.width + x];
            row[x * 3] = p & 0xFF;
            row[x * 3 + 1] = (p >> 8) & 0xFF;
            row[x * 3 + 2] = (p >> 16) & 0xFF;
        }
        std::fwrite(row.data(), 1, stride, f);
    }
    return std::fclose(f) == 0;
}

}  // namespace testpx
