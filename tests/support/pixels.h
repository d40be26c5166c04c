// Pixel access for painter tests: a 32-bit DIB canvas and captures of real windows.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testpx {

// Colours are compared as COLORREF (0x00BBGGRR) everywhere in the tests.
struct Canvas {
    int width = 0;
    int height = 0;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;  // top-down 0x00RRGGBB

    Canvas(int w, int h, COLORREF fill = RGB(0, 0, 0));
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    COLORREF at(int x, int y) const;
    void set(int x, int y, COLORREF colour);
    void fill(COLORREF colour);
};

// Client area (or whole window with `whole`) of a window as painted: PrintWindow-free screen read.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB
    COLORREF at(int x, int y) const;
};
Capture captureScreen(const RECT& screenRect);
Capture captureClient(HWND window);
Capture captureWindow(HWND window);

// Runs the message loop until no message is waiting (and a little longer for timers).
void pumpMessages(DWORD milliseconds = 50);

std::string colourText(COLORREF colour);
// Writes a capture as a 24-bit BMP, for looking at a failure.
bool saveBmp(const Capture& capture, const std::string& path);

}  // namespace testpx
