// Helpers for the composer tests: a live MainWindow, files and folders, pictures made on the spot,
// and a driver that answers the program's modal file dialogs from another thread.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/export.h"
#include "app/forms.h"
#include "app/mainwindow.h"
#include "assets/resource.h"
#include "support/pixels.h"

namespace testapp {

// ---- files and folders ----

inline bool writeFile(const std::string& path, const void* data, size_t size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = size == 0 || WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
    return ok && written == size;
}
inline bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    return writeFile(path, bytes.data(), bytes.size());
}
inline bool writeFile(const std::string& path, const std::string& text) {
    return writeFile(path, text.data(), text.size());
}

inline bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Deletes a folder with everything in it (read-only and hidden entries included).
inline void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder.c_str());
}

// Names in a folder, sorted.
inline std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A fresh, empty folder beside the test program, removed again at the end of the scope.
struct ScratchFolder {
    std::string path;
    explicit ScratchFolder(const std::string& name) : path(programDirectory() + "\\" + name) {
        removeTree(path);
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~ScratchFolder() { removeTree(path); }
    std::string operator/(const std::string& name) const { return path + "\\" + name; }
};

// The template folder "模板" beside the test program (templateFolder without its last backslash).
struct TemplateFolder : ScratchFolder {
    TemplateFolder() : ScratchFolder("模板") {}
};

// ---- pictures ----

inline std::vector<uint8_t> bmp24(int w, int h, const std::function<COLORREF(int, int)>& colourAt) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> bytes(54 + static_cast<size_t>(stride) * h);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = (v >> (8 * i)) & 0xFF;
    };
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
            const COLORREF c = colourAt(x, h - 1 - y);  // rows are stored bottom-up
            uint8_t* p = &bytes[54 + static_cast<size_t>(y) * stride + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return bytes;
}

inline std::vector<uint8_t> solidBmp(int w, int h, COLORREF colour) {
    return bmp24(w, h, [colour](int, int) { return colour; });
}

// A GIF89a of 4-colour frames, each a full w × h frame given as palette indices, with its delay in
// hundredths of a second. LZW with a clear code before every pixel keeps the code width at 3 bits.
inline std::vector<uint8_t> animatedGif(int w, int h, const COLORREF (&palette)[4],
                                        const std::vector<std::vector<uint8_t>>& frames, int delayCs) {
    std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a'};
    auto put16 = [&](int v) {
        g.push_back(v & 0xFF);
        g.push_back((v >> 8) & 0xFF);
    };
    put16(w);
    put16(h);
    g.push_back(0xF1);  // global table of 4 entries
    g.push_back(0);
    g.push_back(0);
    for (COLORREF c : palette) {
        g.push_back(GetRValue(c));
        g.push_back(GetGValue(c));
        g.push_back(GetBValue(c));
    }
    const uint8_t loop[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    g.insert(g.end(), std::begin(loop), std::end(loop));
    for (const auto& frame : frames) {
        const uint8_t control[] = {0x21, 0xF9, 4, 0x04, static_cast<uint8_t>(delayCs & 0xFF),
                                   static_cast<uint8_t>(delayCs >> 8), 0, 0};
        g.insert(g.end(), std::begin(control), std::end(control));
        g.push_back(0x2C);
        put16(0);
        put16(0);
        put16(w);
        put16(h);
        g.push_back(0);
        g.push_back(2);  // minimum code size
        std::vector<uint8_t> data;
        uint32_t bits = 0;
        int count = 0;
        auto emit = [&](uint32_t code) {
            bits |= code << count;
            count += 3;
            while (count >= 8) {
                data.push_back(bits & 0xFF);
                bits >>= 8;
                count -= 8;
            }
        };
        for (uint8_t index : frame) {
            emit(4);  // clear
            emit(index);
        }
        emit(5);  // end of information
        if (count > 0) data.push_back(bits & 0xFF);
        for (size_t at = 0; at < data.size(); at += 255) {
            const size_t n = std::min<size_t>(255, data.size() - at);
            g.push_back(static_cast<uint8_t>(n));
            g.insert(g.end(), data.begin() + at, data.begin() + at + n);
        }
        g.push_back(0);
    }
    g.push_back(0x3B);
    return g;
}

// The built-in template is a real JPEG to cut and patch.
inline std::vector<uint8_t> sampleJpeg() {
    std::vector<uint8_t> bytes = resourceBytes(IDR_DEFAULT_TEMPLATE);
    return bytes;
}

// The same JPEG whose frame header claims width × height.
inline std::vector<uint8_t> jpegClaimingSize(int width, int height) {
    std::vector<uint8_t> bytes = sampleJpeg();
    for (size_t i = 2; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
            bytes[i + 5] = (height >> 8) & 0xFF;
            bytes[i + 6] = height & 0xFF;
            bytes[i + 7] = (width >> 8) & 0xFF;
            bytes[i + 8] = width & 0xFF;
            break;
        }
    }
    return bytes;
}

// ---- windows ----

inline void pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < timeoutMs) testpx::pumpMessages(10);
}

inline std::string textOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(std::max(copied, 0));
    return text;
}

inline std::vector<std::string> listItems(HWND list) {
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string text(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        items.emplace_back(text.c_str());
    }
    return items;
}

// Waits until the listing thread of the list has finished.
inline bool waitForListing(HWND list, DWORD timeoutMs = 60000) {
    pumpUntil([&] { return GetPropA(list, listingDoneProp) != nullptr; }, timeoutMs);
    return GetPropA(list, listingDoneProp) != nullptr;
}

// A MainWindow for one test, shown on the test display; destroyed at the end.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(createMainWindow(GetModuleHandleA(nullptr)), nullptr);
        window = mainWindow;
    }
    void TearDown() override {
        // Under Wine without a window manager, destroying a shown top-level window waits two
        // seconds for the manager; a shown one is moved out of sight and left to the end instead.
        if (IsWindow(window) && IsWindowVisible(window)) {
            SetWindowPos(window, nullptr, -30000, -30000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            mainWindow = nullptr;
        } else if (IsWindow(window)) {
            DestroyWindow(window);
        }
        testpx::pumpMessages(20);  // also takes the quit message of a destroyed window
    }
    void show() {
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        UpdateWindow(window);
        testpx::pumpMessages(150);
    }
    HWND window = nullptr;
};

// ---- modal dialogs ----

// Answers the program's file dialogs from a second thread, one step per dialog shown: a path to
// confirm, or an empty string to cancel. Records the file name each dialog offered when it opened.
class DialogDriver {
public:
    explicit DialogDriver(std::vector<std::string> steps)
        : steps_(std::move(steps)), uiThread_(GetCurrentThreadId()) {
        thread_ = CreateThread(nullptr, 0, &DialogDriver::run, this, 0, nullptr);
    }
    ~DialogDriver() {
        stop_ = true;
        WaitForSingleObject(thread_, 30000);
        CloseHandle(thread_);
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    int answered() const { return answered_; }
    int unexpected() const { return unexpected_; }
    // The file name and the folder each dialog showed when it opened.
    const std::vector<std::string>& offered() const { return offered_; }
    const std::vector<std::string>& offeredFolders() const { return offeredFolders_; }

    static HWND findDialog(DWORD thread) {
        HWND found = nullptr;
        EnumThreadWindows(
            thread,
            [](HWND w, LPARAM p) -> BOOL {
                char name[16] = {};
                GetClassNameA(w, name, sizeof(name));
                if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(w)) {
                    *reinterpret_cast<HWND*>(p) = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    // The file name box: the combo box cmb13 of the explorer dialog, or the edit box edt1.
    static HWND fileNameBox(HWND dialog) {
        if (HWND combo = GetDlgItem(dialog, 0x47C)) return combo;
        return GetDlgItem(dialog, 0x480);
    }

private:
    static DWORD WINAPI run(void* self) {
        static_cast<DialogDriver*>(self)->drive();
        return 0;
    }
    void drive() {
        for (const auto& step : steps_) {
            HWND dialog = nullptr;
            while (!stop_ && !(dialog = findDialog(uiThread_))) Sleep(20);
            if (!dialog) return;
            Sleep(100);  // let the dialog finish its set-up
            // Answer a dialog that has been painted whole, as a user would: every child (sent to the
            // dialog's thread, so done when the calls return). Whether a dialog got painted before
            // its answer otherwise depends on the machine's speed, and so do the objects the
            // platform keeps from the first paint of a file dialog.
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
            HWND box = fileNameBox(dialog);
            char text[1024] = {}, folder[1024] = {};
            if (box) SendMessageA(box, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
            SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof(folder), reinterpret_cast<LPARAM>(folder));
            offered_.push_back(text);
            offeredFolders_.push_back(folder);
            if (step.empty()) {
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            } else {
                SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.c_str()));
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
            }
            while (!stop_ && IsWindow(dialog) && IsWindowVisible(dialog)) Sleep(20);
            ++answered_;
        }
        // A dialog beyond the script is cancelled, so that a wrong expectation fails instead of hanging.
        while (!stop_) {
            if (HWND dialog = findDialog(uiThread_)) {
                ++unexpected_;
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                while (!stop_ && IsWindow(dialog) && IsWindowVisible(dialog)) Sleep(20);
            }
            Sleep(20);
        }
    }

    std::vector<std::string> steps_;
    DWORD uiThread_;
    HANDLE thread_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
    std::atomic<int> unexpected_{0};
    std::vector<std::string> offered_;
    std::vector<std::string> offeredFolders_;
};

// Replaces the export's message boxes for one scope: records each text and answers with `answer`.
struct MessageBoxRecorder {
    static inline std::vector<std::string> texts;
    static inline int answer = IDNO;
    explicit MessageBoxRecorder(int reply = IDNO) {
        texts.clear();
        answer = reply;
        previous = showMessageBox;
        showMessageBox = [](HWND, const char* text, const char*, UINT) {
            texts.emplace_back(text);
            return answer;
        };
    }
    ~MessageBoxRecorder() { showMessageBox = previous; }
    MessageBoxFunction previous;
};

}  // namespace testapp
