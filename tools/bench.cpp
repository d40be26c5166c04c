// bench: Certivex measured beside the platform's own work, one line per figure, each a ratio to its
// reference measured in the same run. `make bench` runs it through scripts/bench, which prepares
// the folders, times ImageMagick on the host and passes that time in.
//
//   bench pixels FILE.ppm                 writes the pixels of one export as a binary PPM
//   bench run CONVERT_MS CONVERT_RUNS     every figure (CONVERT_MS: ImageMagick's time per convert)
//   bench first-paint main|empty FILE     start-up child: writes its first-paint state to FILE, exits
//   bench memory FILE                     memory child: writes its memory after start, previews, exports
//
// `run` expects "模板" beside bench.exe to hold the 10,000 templates of the listing figure and a
// folder "app" beside it with a copy of bench.exe and the sample templates, for the children.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <png.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/composer.h"
#include "app/export.h"
#include "app/forms.h"
#include "app/mainwindow.h"
#include "assets/resource.h"
#include "skin/attach.h"
#include "skin/frame.h"
#include "skin/gdi.h"
#include "skin/geometry.h"
#include "tools/support/usage.h"

namespace {

// ---- clock ----

double nowMs() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perMs;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Milliseconds per call of `work`, the median of `blocks` blocks of `perBlock` calls.
double msPerCall(int blocks, int perBlock, const std::function<void()>& work) {
    std::vector<double> samples;
    for (int b = 0; b < blocks; ++b) {
        const double start = nowMs();
        for (int i = 0; i < perBlock; ++i) work();
        GdiFlush();
        samples.push_back((nowMs() - start) / perBlock);
    }
    return median(samples);
}

// Milliseconds per call of `a` and of `b`, measured in alternating blocks so that a change of the
// machine's load falls on both alike; the fastest block of each (other processes only ever add
// time, so the fastest block is the closest to the work's own cost).
std::pair<double, double> pairPerCall(int blocks, int perBlock, const std::function<void()>& a,
                                      const std::function<void()>& b) {
    for (int i = 0; i < perBlock / 4 + 1; ++i) {  // warm both first
        a();
        b();
    }
    std::vector<double> as, bs;
    for (int block = 0; block < blocks; ++block) {
        as.push_back(msPerCall(1, perBlock, a));
        bs.push_back(msPerCall(1, perBlock, b));
    }
    return {*std::min_element(as.begin(), as.end()), *std::min_element(bs.begin(), bs.end())};
}

void printRatio(const char* figure, double value, const char* reference, double referenceValue, const char* unit = "ms") {
    std::printf("%-44s %9.3f %s  vs %-40s %9.3f %s  ratio %6.2f\n", figure, value, unit, reference, referenceValue, unit,
                referenceValue > 0 ? value / referenceValue : 0.0);
    std::fflush(stdout);
}

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) processFormMessage(msg);
}

void pumpUntilPainted() {
    for (int i = 0; i < 1000 && (GetQueueStatus(QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE) >> 16); ++i) pump();
}

std::string exeDirectory() { return programDirectory(); }

bool writeText(const std::string& path, const std::string& text) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
    return written == text.size();
}

std::string readText(const std::string& path) {
    const std::vector<uint8_t> bytes = readWholeFile(path);
    return {bytes.begin(), bytes.end()};
}

void startProgramServices() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    allocateSkinTables();
}

// The composition every figure works on: fixed texts and a fixed serial number.
void composeFixedCertificate() {
    SetWindowTextA(formControl(ids::nameEdit), "张小明");
    SetWindowTextA(formControl(ids::sexEdit), "男");
    SetWindowTextA(formControl(ids::ageEdit), "28");
    seedRandom(1);
    onPreviewClicked();
    pumpUntilPainted();
}

// ---- libpng: the floor of the export ----

void toVector(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void noFlush(png_structp) {}

// The same encoding as the export (8-bit RGB, Adam7, libpng's defaults) into memory.
bool encodeToMemory(const RgbImage& image, std::vector<uint8_t>& out) {
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, &out, toVector, noFlush);
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_ADAM7,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < image.height; ++y)
            png_write_row(png, const_cast<png_bytep>(image.rgb.data() + static_cast<size_t>(y) * image.width * 3));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// ---- children ----

// Start-up to first paint, as the program does it (main) or for an empty window (empty).
int firstPaintChild(bool mainWindowToo, const std::string& resultFile) {
    const double start = nowMs();
    HWND window = nullptr;
    if (mainWindowToo) {
        startProgramServices();
        SetCurrentDirectoryA(programDirectory().c_str());
        window = createMainWindow(GetModuleHandleA(nullptr));
        onWindowCreated();
    } else {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = "BenchEmptyWindow";
        RegisterClassExA(&wc);
        window = CreateWindowExA(WS_EX_APPWINDOW, wc.lpszClassName, "空窗口", mainWindowStyle,
                                 centredOrigin(GetSystemMetrics(SM_CXSCREEN), mainWindowWidth),
                                 centredOrigin(GetSystemMetrics(SM_CYSCREEN), mainWindowHeight), mainWindowWidth,
                                 mainWindowHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    pumpUntilPainted();  // every child window painted once
    const double painted = nowMs();
    const usage::Memory m = usage::memory();
    char line[128];
    std::snprintf(line, sizeof(line), "%.3f %zu %zu\n", painted - start, m.workingSet, m.privateBytes);
    writeText(resultFile, line);
    ExitProcess(0);  // the time to tear down is not part of the figure
}

int memoryChild(const std::string& resultFile) {
    startProgramServices();
    SetCurrentDirectoryA(programDirectory().c_str());
    if (!createMainWindow(GetModuleHandleA(nullptr))) return 1;
    onWindowCreated();
    ShowWindow(mainWindow, SW_SHOW);
    UpdateWindow(mainWindow);
    const double start = nowMs();
    while (!GetPropA(formControl(ids::templateList), listingDoneProp) && nowMs() - start < 60000) {
        pump();
        Sleep(1);
    }
    pumpUntilPainted();
    std::string out;
    auto mark = [&](const char* when) {
        const usage::Snapshot s = usage::snapshot();
        char line[160];
        std::snprintf(line, sizeof(line), "%s\t%zu\t%zu\t%u\t%u\n", when, s.memory.workingSet, s.memory.privateBytes,
                      s.gdi.value, s.user.value);
        out += line;
    };
    mark("after start");
    composeFixedCertificate();
    for (int i = 0; i < 1000; ++i) {
        onPreviewClicked();
        pump();
    }
    mark("after 1,000 previews");
    const std::string path = programDirectory() + "\\bench-memory.png";
    for (int i = 0; i < 100; ++i) {
        std::string error;
        writePngFile(renderCertificate(formControl(ids::certificateView)), path, error);
        pump();
    }
    DeleteFileA(path.c_str());
    mark("after 100 exports");
    writeText(resultFile, out);
    ExitProcess(0);
}

// Runs this program from folder `app` with the arguments; returns false when it fails.
bool runChild(const std::string& args, double* elapsedMs = nullptr) {
    const std::string exe = exeDirectory() + "\\app\\bench.exe";
    std::string command = "\"" + exe + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const double start = nowMs();
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    WaitForSingleObject(pi.hProcess, 120000);
    if (elapsedMs) *elapsedMs = nowMs() - start;
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code == 0;
}

// ---- the figures ----

struct Windows {
    HWND plain;    // MainWindow as the platform draws it: no skin
    HWND skinned;  // MainWindow with the skin
};

Windows createWindows() {
    Windows w{};
    w.plain = createMainWindow(GetModuleHandleA(nullptr));
    SetWindowPos(w.plain, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    w.skinned = createMainWindow(GetModuleHandleA(nullptr));  // mainWindow from now on
    SetWindowPos(w.skinned, nullptr, 650, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SkinPalette unused{};
    skinStart(w.skinned, unused, false);  // the start of onWindowCreated, without the listing
    for (HWND h : {w.plain, w.skinned}) {
        ShowWindow(h, SW_SHOWNOACTIVATE);
        UpdateWindow(h);
    }
    composeFixedCertificate();
    return w;
}

// The skin's creation hooks removed for one scope, to show what they cost the figures: the
// WH_CBT watch, and the WM_CREATE hook should a creation be under way. Nothing creates a window
// meanwhile.
struct WithoutCreationHook {
    WithoutCreationHook() { removeCreateHook(); }
    ~WithoutCreationHook() { installCreateHook(); }
};

// ---- the frame paint with a pair of images per keyed piece, for comparison ----
// The same pieces, icon, buttons and text as paintFrame, each keyed piece through drawSprite with
// two images and two contexts of its own, and each painter reading the window's properties itself:
// what paintFrame did before it shared one pair among the pieces of a paint.
void paintFramePerPiece(HDC dc, HWND window) {
    if (!getSkinProp(window, prop::captionBar)) return;
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const bool active = getSkinProp(window, prop::activeState) != 0;
    const auto icon = reinterpret_cast<HICON>(getSkinProp(window, prop::iconHandle));
    const bool systemMenu = getSkinProp(window, prop::systemMenu) != 0;
    for (const SpriteCopy& p : framePieces(*skinSprites, active, width, height))
        drawSprite(dc, p.destination, p.source, p.key);
    if (systemMenu && icon) DrawIconEx(dc, 8, captionIconTop(*skinSprites), icon, 16, 16, 0, nullptr, DI_NORMAL);
    if (getSkinProp(window, prop::systemMenu)) {
        const bool buttonsActive = getSkinProp(window, prop::activeState) != 0;
        const ButtonStates states = readButtonStates(window);
        GetWindowRect(window, &r);
        for (const CaptionButtonCopy& b :
             captionButtons(*skinSprites, r.right - r.left, buttonsActive, states, isSkinMinimized(window), isSkinMaximized(window)))
            if (b.drawn) drawSprite(dc, b.copy.destination, b.copy.source, b.copy.key);
    }
    paintCaptionText(window, dc);
}

// Both paints into 32-bit pictures of the window, compared pixel for pixel, in both looks.
bool perPiecePaintIsIdentical(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const intptr_t look = getSkinProp(window, prop::activeState);
    bool same = true;
    for (intptr_t active : {0, 1}) {
        setSkinProp(window, prop::activeState, active);
        void* bits[2] = {};
        gdi::Bitmap pictures[2] = {gdi::Bitmap(gdi::createDibSection(w, h, &bits[0])),
                                   gdi::Bitmap(gdi::createDibSection(w, h, &bits[1]))};
        for (int i = 0; i < 2; ++i) {
            if (!bits[i]) return false;
            std::fill_n(static_cast<uint32_t*>(bits[i]), static_cast<size_t>(w) * h, 0x00373737u);
            gdi::MemoryDC dc;
            gdi::Select selected(dc, pictures[i]);
            if (i == 0) paintFrame(dc, window); else paintFramePerPiece(dc, window);
            GdiFlush();
        }
        same = same && std::equal(static_cast<uint32_t*>(bits[0]), static_cast<uint32_t*>(bits[0]) + static_cast<size_t>(w) * h,
                                  static_cast<uint32_t*>(bits[1]));
    }
    setSkinProp(window, prop::activeState, look);
    return same;
}

void nonClientFigure(const Windows& w) {
    for (HWND h : {w.plain, w.skinned}) SendMessageA(h, WM_NCACTIVATE, TRUE, 0);
    auto paint = [](HWND h) { return [h] { SendMessageA(h, WM_NCPAINT, 1, 0); }; };
    const auto [skinned, plain] = pairPerCall(9, 100, paint(w.skinned), paint(w.plain));
    printRatio("non-client paint, skinned MainWindow", skinned, "the platform's, unskinned", plain);
    {
        WithoutCreationHook unhooked;
        const auto [s, p] = pairPerCall(9, 100, paint(w.skinned), paint(w.plain));
        printRatio("  the same without the skin's creation hooks", s, "the platform's, without it", p);
    }
    gdi::WindowContext dc = gdi::WindowContext::whole(w.skinned);
    const auto [shared, perPiece] =
        pairPerCall(9, 100, [&] { paintFrame(dc, w.skinned); }, [&] { paintFramePerPiece(dc, w.skinned); });
    printRatio("  paintFrame, one key pair per paint", shared, "a pair per keyed piece", perPiece);
    std::printf("%-44s %s\n", "  the two paints' pixels", perPiecePaintIsIdentical(w.skinned) ? "identical in both looks" : "DIFFER");
}

void pushButtonFigure(const Windows& w) {
    HWND plain = GetDlgItem(w.plain, ids::previewButton), skinned = GetDlgItem(w.skinned, ids::previewButton);
    auto paint = [](HWND b) { return [b] { RedrawWindow(b, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }; };
    const auto [skin, platform] = pairPerCall(9, 200, paint(skinned), paint(plain));
    printRatio("push button face 96x24, skinned", skin, "the platform's push button", platform);
    WithoutCreationHook unhooked;
    const auto [s, p] = pairPerCall(9, 200, paint(skinned), paint(plain));
    printRatio("  the same without the skin's creation hooks", s, "the platform's, without it", p);
}

void exportFigures(const Windows&, double convertMs, int convertRuns) {
    HWND view = formControl(ids::certificateView);
    const std::string path = exeDirectory() + "\\bench-export.png";
    std::string error;
    const RgbImage image = renderCertificate(view);
    std::vector<uint8_t> encoded;
    const auto [export_, floor] = pairPerCall(
        7, 10,
        [&] {
            if (!writePngFile(renderCertificate(view), path, error)) std::printf("export failed: %s\n", error.c_str());
        },
        [&] { encodeToMemory(image, encoded); });
    double render = 1e300;
    for (int i = 0; i < 7; ++i) render = std::min(render, msPerCall(1, 10, [&] { renderCertificate(view); }));
    DeleteFileA(path.c_str());
    printRatio("export (render + encode + write)", export_, "bare libpng Adam7 encode", floor);
    if (convertMs > 0) {
        char reference[64];
        std::snprintf(reference, sizeof(reference), "convert -interlace PNG (%d runs)", convertRuns);
        printRatio("export (render + encode + write)", export_, reference, convertMs);
    } else {
        std::printf("%-44s %9.3f ms  (ImageMagick's time not given)\n", "export (render + encode + write)", export_);
    }
    std::printf("%-44s %9.3f ms  (of the export; PNG of %zu bytes)\n", "  of which rendering the view", render,
                encoded.size());
}

void listingFigure(const Windows& w) {
    const std::string pattern = templateFolder() + "*.jpg";
    auto scan = [&] {
        WIN32_FIND_DATAA found;
        int n = 0;
        HANDLE search = FindFirstFileA(pattern.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return 0;
        do
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isTemplateName(found.cFileName)) ++n;
        while (FindNextFileA(search, &found));
        FindClose(search);
        return n;
    };
    int files = 0;
    std::vector<double> scans;
    for (int i = 0; i < 5; ++i) {
        const double start = nowMs();
        files = scan();
        scans.push_back(nowMs() - start);
    }

    HWND list = GetDlgItem(w.skinned, ids::templateList);
    // A second thread posts a time stamp every millisecond; the longest a stamp waited is the longest
    // the user-interface thread went without handling posted messages (a click would have waited
    // as long).
    constexpr UINT stampMessage = WM_APP + 71;
    std::atomic<bool> listing{true};
    struct Prober {
        DWORD uiThread;
        std::atomic<bool>* listing;
    } prober{GetCurrentThreadId(), &listing};
    auto listAll = [&](double& longestWait, LPTHREAD_START_ROUTINE body) {
        std::vector<double> runs;
        longestWait = 0;
        LRESULT count = 0;
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        for (int run = 0; run < 2; ++run) {
            SendMessageA(list, LB_RESETCONTENT, 0, 0);
            RemovePropA(list, listingDoneProp);
            pump();
            listing = true;
            HANDLE thread = CreateThread(
                nullptr, 0,
                [](void* p) -> DWORD {
                    auto* pr = static_cast<Prober*>(p);
                    while (*pr->listing) {
                        LARGE_INTEGER t;
                        QueryPerformanceCounter(&t);
                        PostThreadMessageA(pr->uiThread, stampMessage, static_cast<WPARAM>(t.QuadPart), 0);
                        Sleep(1);
                    }
                    return 0;
                },
                &prober, 0, nullptr);
            const double start = nowMs();
            if (HANDLE worker = CreateThread(nullptr, 0, body, list, 0, nullptr)) CloseHandle(worker);
            while (!GetPropA(list, listingDoneProp)) {
                MSG msg;
                while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                    if (msg.message == stampMessage && !msg.hwnd) {
                        LARGE_INTEGER t;
                        QueryPerformanceCounter(&t);
                        const double waited = 1000.0 * static_cast<double>(t.QuadPart - static_cast<LONGLONG>(msg.wParam)) /
                                              static_cast<double>(frequency.QuadPart);
                        longestWait = std::max(longestWait, waited);
                    } else {
                        processFormMessage(msg);
                    }
                }
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            }
            runs.push_back(nowMs() - start);
            listing = false;
            WaitForSingleObject(thread, 5000);
            CloseHandle(thread);
            count = SendMessageA(list, LB_GETCOUNT, 0, 0);
            pump();
        }
        if (count != files) std::printf("listing gave %ld items, %d expected\n", static_cast<long>(count), files);
        return *std::min_element(runs.begin(), runs.end());
    };
    double longestWait = 0, longestWaitUnhooked = 0;
    const double listed = listAll(longestWait, fillTemplateList);
    double listedUnhooked = 0;
    {
        WithoutCreationHook unhooked;
        listedUnhooked = listAll(longestWaitUnhooked, fillTemplateList);
    }
    char figure[64];
    std::snprintf(figure, sizeof(figure), "listing %d templates into the list", files);
    const double scan_ = *std::min_element(scans.begin(), scans.end());
    printRatio(figure, listed, "a bare directory scan of the folder", scan_);
    std::printf("%-44s %9.3f ms  (the longest a posted message waited while the list filled)\n",
                "  longest the UI thread did not pump", longestWait);
    printRatio("  the same without the skin's creation hooks", listedUnhooked, "a bare directory scan of the folder", scan_);
    std::printf("%-44s %9.3f ms\n", "  longest without pumping, without them", longestWaitUnhooked);
}

void firstPaintFigure() {
    const std::string file = exeDirectory() + "\\bench-first-paint.txt";
    std::vector<double> mainTimes, emptyTimes, mainInside, emptyInside;
    for (int i = 0; i < 5; ++i) {
        for (bool main : {false, true}) {
            double elapsed = 0;
            if (!runChild(std::string("first-paint ") + (main ? "main" : "empty") + " \"" + file + "\"", &elapsed)) {
                std::printf("first-paint child failed\n");
                return;
            }
            const double inside = std::atof(readText(file).c_str());
            (main ? mainTimes : emptyTimes).push_back(elapsed);
            (main ? mainInside : emptyInside).push_back(inside);
        }
    }
    DeleteFileA(file.c_str());
    auto fastest = [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); };
    printRatio("start to first paint, MainWindow", fastest(mainTimes), "an empty Win32 window", fastest(emptyTimes));
    printRatio("  of which inside the process", fastest(mainInside), "the empty window's", fastest(emptyInside));
}

void memoryFigure() {
    const std::string file = exeDirectory() + "\\bench-memory.txt";
    if (!runChild("memory \"" + file + "\"")) {
        std::printf("memory child failed\n");
        return;
    }
    const std::string text = readText(file);
    DeleteFileA(file.c_str());
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        char when[64] = {};
        size_t ws = 0, priv = 0;
        unsigned gdi = 0, user = 0;
        if (std::sscanf(line.c_str(), "%63[^\t]\t%zu\t%zu\t%u\t%u", when, &ws, &priv, &gdi, &user) == 5)
            std::printf("memory %-37s %9.1f MB working set, %6.1f MB private, %u GDI objects, %u USER objects\n", when,
                        usage::megabytes(ws), usage::megabytes(priv), gdi, user);
    }
}

// What the skin's creation hooks cost every message sent on the user-interface thread once the
// windows exist: a same-thread LB_GETCOUNT to the template list, the skin running against the
// hooks removed.
void sentMessageFigure(const Windows& w) {
    HWND list = GetDlgItem(w.skinned, ids::templateList);
    auto send = [list] { SendMessageA(list, LB_GETCOUNT, 0, 0); };
    std::printf("%-44s %s\n", "WM_CREATE hook outside creations", createMessageHook ? "INSTALLED" : "not installed");
    double skinRunning = 1e300, without = 1e300;
    for (int block = 0; block < 9; ++block) {
        skinRunning = std::min(skinRunning, msPerCall(1, 2000, send));
        WithoutCreationHook unhooked;
        without = std::min(without, msPerCall(1, 2000, send));
    }
    printRatio("message sent on the UI thread, skin running", skinRunning, "without the skin's hooks", without);
}

int runAll(double convertMs, int convertRuns) {
    startProgramServices();
    std::printf("Certivex bench: each figure beside its reference from the same run (ratio = figure / reference; fastest of alternating blocks)\n");
    const Windows w = createWindows();
    sentMessageFigure(w);
    nonClientFigure(w);
    pushButtonFigure(w);
    exportFigures(w, convertMs, convertRuns);
    listingFigure(w);
    firstPaintFigure();
    memoryFigure();
    return 0;
}

int writePixels(const std::string& path) {
    startProgramServices();
    createWindows();
    const RgbImage image = renderCertificate(formControl(ids::certificateView));
    std::string ppm = "P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
    ppm.append(image.rgb.begin(), image.rgb.end());
    return writeText(path, ppm) ? 0 : 1;
}

std::string narrow(const wchar_t* w) {
    const int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    WideCharToMultiByte(CP_ACP, 0, w, -1, s.data(), n, nullptr, nullptr);
    return s;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(narrow(wide[i]));
    LocalFree(wide);
    const std::string command = args.size() > 1 ? args[1] : "";
    if (command == "pixels" && args.size() > 2) return writePixels(args[2]);
    if (command == "first-paint" && args.size() > 3) return firstPaintChild(args[2] == "main", args[3]);
    if (command == "memory" && args.size() > 2) return memoryChild(args[2]);
    if (command == "run")
        return runAll(args.size() > 2 ? std::atof(args[2].c_str()) : 0, args.size() > 3 ? std::atoi(args[3].c_str()) : 0);
    std::fprintf(stderr, "usage: bench run [CONVERT_MS RUNS] | pixels FILE.ppm\n");
    return 2;
}
