// Benchmark of the composer: the export (render, encode, write), GDI objects across many repaints,
// and memory while bad pictures are set. Usage: composer_bench OUTPUT_FOLDER [ROUNDS]
// Writes OUTPUT_FOLDER\bench.png and OUTPUT_FOLDER\bench.ppm (the same pixels, for other encoders).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/composer.h"
#include "app/export.h"
#include "app/forms.h"
#include "app/mainwindow.h"
#include "assets/resource.h"
#include "tools/support/usage.h"

namespace {

double nowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

size_t committedBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
}

size_t peakBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakPagefileUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: composer_bench OUTPUT_FOLDER [ROUNDS]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!createMainWindow(GetModuleHandleA(nullptr))) return 1;
    ShowWindow(mainWindow, SW_SHOW);
    SetWindowTextA(formControl(ids::nameEdit), "张三丰");
    SetWindowTextA(formControl(ids::sexEdit), "男");
    SetWindowTextA(formControl(ids::ageEdit), "88");
    onPreviewClicked();
    pump();
    HWND view = formControl(ids::certificateView);

    // Export: render + encode + write, and each step alone.
    const std::string png = folder + "\\bench.png";
    double render = 0, encode = 0, total = 0;
    for (int i = 0; i < rounds; ++i) {
        const double t0 = nowMs();
        const RgbImage image = renderCertificate(view);
        const double t1 = nowMs();
        std::string error;
        if (!writePngFile(image, png, error)) {
            std::fprintf(stderr, "export failed: %s\n", error.c_str());
            return 1;
        }
        const double t2 = nowMs();
        HANDLE sink = CreateFileA("NUL", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        const double t3 = nowMs();
        writePng(sink, image, error);
        const double t4 = nowMs();
        CloseHandle(sink);
        render += t1 - t0;
        total += t2 - t0;
        encode += t4 - t3;
    }
    std::printf("export of %dx%d, mean of %d: total %.1f ms (render %.1f ms, encode to NUL %.1f ms)\n", 464, 296,
                rounds, total / rounds, render / rounds, encode / rounds);

    const RgbImage image = renderCertificate(view);
    if (FILE* ppm = std::fopen((folder + "\\bench.ppm").c_str(), "wb")) {
        std::fprintf(ppm, "P6\n%d %d\n255\n", image.width, image.height);
        std::fwrite(image.rgb.data(), 1, image.rgb.size(), ppm);
        std::fclose(ppm);
    }

    // GDI objects across repaints: label texts, picture changes, off-screen renders.
    const auto photo = resourceBytes(IDR_DEFAULT_PHOTO);
    const auto templ = resourceBytes(IDR_DEFAULT_TEMPLATE);
    for (int i = 0; i < 20; ++i) onPreviewClicked();  // warm-up
    pump();
    const unsigned gdiBefore = usage::gdiObjects().value;
    for (int i = 0; i < 300; ++i) {
        onPreviewClicked();
        setPictureBytes(formControl(ids::photoBox), photo);
        if (i % 10 == 0) setPictureBytes(view, templ);
        renderCertificate(view);
        pump();
    }
    const usage::Count gdiAfter = usage::gdiObjects();
    std::printf("GDI objects over 300 rounds: %u -> %u (%s)\n", gdiBefore, gdiAfter.value,
                usage::sourceName(gdiAfter.source, false));

    // Memory: bad and oversized pictures are refused without holding memory.
    std::vector<uint8_t> huge = templ;
    for (size_t i = 2; i + 9 < huge.size(); ++i)
        if (huge[i] == 0xFF && (huge[i + 1] == 0xC0 || huge[i + 1] == 0xC2)) {
            huge[i + 5] = huge[i + 7] = 0xEA;
            huge[i + 6] = huge[i + 8] = 0x60;
            break;
        }
    const size_t memoryBefore = committedBytes();
    for (int i = 0; i < 50; ++i) {
        setPictureBytes(view, huge);
        setPictureBytes(view, std::vector<uint8_t>(templ.begin(), templ.begin() + templ.size() / 2));
        setPictureBytes(view, templ);
        pump();
    }
    std::printf("committed bytes around 150 picture changes (50 of them 60000x60000 claims): %zu KB -> %zu KB, peak %zu KB\n",
                memoryBefore / 1024, committedBytes() / 1024, peakBytes() / 1024);
    DestroyWindow(mainWindow);
    CoUninitialize();
    return 0;
}
