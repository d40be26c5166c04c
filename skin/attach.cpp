#include "skin/attach.h"

#include <cstring>

#include "skin/controls.h"
#include "skin/frame.h"

HWND skinMainWindow = nullptr;
HICON fallbackIcon = nullptr;
HHOOK createHook = nullptr;

intptr_t getSkinProp(HWND window, const char* name) {
    return reinterpret_cast<intptr_t>(GetPropA(window, name));
}

void setSkinProp(HWND window, const char* name, intptr_t value) {
    SetPropA(window, name, reinterpret_cast<HANDLE>(value));
}

LRESULT callSavedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto proc = reinterpret_cast<WNDPROC>(getSkinProp(window, prop::windowProc));
    if (proc) return CallWindowProcA(proc, window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

void replaceWindowProc(HWND window, WNDPROC skinProc) {
    setSkinProp(window, prop::windowProc, GetWindowLongPtrA(window, GWLP_WNDPROC));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(skinProc));
}

std::string windowClassName(HWND window) {
    char name[128] = {};
    const int length = GetClassNameA(window, name, sizeof(name));
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

HGLOBAL createCaptionTextBlock(const char* text, size_t length) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length + 1);
    rewriteCaptionTextBlock(block, text, length);
    return block;
}

void rewriteCaptionTextBlock(HGLOBAL block, const char* text, size_t length) {
    if (!block) return;
    if (GlobalSize(block) != length + 1) GlobalReAlloc(block, length + 1, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (auto* bytes = static_cast<char*>(GlobalLock(block))) {
        if (length) std::memcpy(bytes, text, length);
        bytes[length] = '\0';
        GlobalUnlock(block);
    }
}

std::string readCaptionTextBlock(HGLOBAL block) {
    std::string text;
    if (!block) return text;
    if (const auto* bytes = static_cast<const char*>(GlobalLock(block))) {
        text.assign(bytes, strnlen(bytes, GlobalSize(block)));
        GlobalUnlock(block);
    }
    return text;
}

// skinStart, attachFrameWindow, classifyWindow and the creation hook follow with the frame work.
void skinStart(HWND window, const SkinPalette& palette, bool useGivenPalette) {
    static bool started = false;
    if (started) return;
    started = true;
    skinMainWindow = window;
    setupTheme(palette, useGivenPalette);
}
