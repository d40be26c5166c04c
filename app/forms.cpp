#include "app/forms.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "skin/decode.h"
#include "skin/gdi.h"

namespace {

// Window properties of the form layer.
constexpr char pictureProp[] = "Form.图片";        // PictureState* of a picture box
constexpr char textColorProp[] = "Form.文字颜色";  // label text colour
constexpr char centredProp[] = "Form.居中";        // label: 1 centred, 0 left
constexpr char fontProp[] = "Form.字体";           // label font (0: default GUI font)
constexpr char ownedFontProp[] = "Form.自有字体";  // label font that the label deletes

constexpr UINT_PTR animationTimer = 1;

struct PictureState {
    DecodedPicture picture;
    size_t frame = 0;
    // The current frame stretched to the client size, so that every paint is a plain copy.
    gdi::Bitmap scaled;
    int scaledWidth = 0;
    int scaledHeight = 0;
    size_t scaledFrame = 0;
};

PictureState* pictureState(HWND box) { return static_cast<PictureState*>(GetPropA(box, pictureProp)); }

bool isOwnClass(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return lstrcmpA(name, pictureBoxClass) == 0 || lstrcmpA(name, transparentLabelClass) == 0;
}

bool hasVisibleStyle(HWND window) { return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// Children or later siblings in z-order, bottom-most first (the order they paint in).
std::vector<HWND> bottomUp(HWND first) {
    std::vector<HWND> windows;
    for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) windows.push_back(w);
    std::reverse(windows.begin(), windows.end());
    return windows;
}

// Invalidates the box and everything over it: the siblings that overlap it repaint too.
void repaintBox(HWND box) {
    HWND parent = GetParent(box);
    if (!parent) {
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        return;
    }
    RECT r;
    GetWindowRect(box, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool ensureScaledFrame(PictureState& state, int width, int height) {
    if (state.scaled && state.scaledWidth == width && state.scaledHeight == height && state.scaledFrame == state.frame)
        return true;
    state.scaled.reset();
    const auto& picture = state.picture;
    gdi::Bitmap source(frameToBitmap(picture.width, picture.height, picture.frames[state.frame]));
    gdi::Bitmap target(gdi::createDibSection(width, height));
    if (!source || !target) return false;
    {
        gdi::MemoryDC sourceDC, targetDC;
        gdi::Select s(sourceDC, source), t(targetDC, target);
        SetStretchBltMode(targetDC, HALFTONE);
        SetBrushOrgEx(targetDC, 0, 0, nullptr);
        StretchBlt(targetDC, 0, 0, width, height, sourceDC, 0, 0, picture.width, picture.height, SRCCOPY);
    }
    GdiFlush();
    state.scaled = std::move(target);
    state.scaledWidth = width;
    state.scaledHeight = height;
    state.scaledFrame = state.frame;
    return true;
}

void paintPicture(HWND box, HDC dc) {
    RECT rc;
    GetClientRect(box, &rc);
    if (rc.right <= 0 || rc.bottom <= 0) return;
    PictureState* state = pictureState(box);
    if (state && state->picture && ensureScaledFrame(*state, rc.right, rc.bottom)) {
        gdi::MemoryDC source(dc);
        gdi::Select s(source, state->scaled);
        BitBlt(dc, 0, 0, rc.right, rc.bottom, source, 0, 0, SRCCOPY);
    } else {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    }
}

void showNextFrame(HWND box) {
    PictureState* state = pictureState(box);
    if (!state || state->picture.frames.size() < 2) {
        KillTimer(box, animationTimer);
        return;
    }
    state->frame = (state->frame + 1) % state->picture.frames.size();
    SetTimer(box, animationTimer, std::max(1u, state->picture.frames[state->frame].delayMs), nullptr);
    repaintBox(box);
}

LRESULT CALLBACK pictureBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        SetPropA(box, pictureProp, new PictureState);
        break;
    case WM_NCDESTROY:
        KillTimer(box, animationTimer);
        delete pictureState(box);
        RemovePropA(box, pictureProp);
        break;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(box, &ps);
        paintPicture(box, dc);
        EndPaint(box, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        paintPicture(box, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == animationTimer) {
            showNextFrame(box);
            return 0;
        }
        break;
    case WM_NCHITTEST:
        return HTCLIENT;
    }
    return DefWindowProcA(box, message, wParam, lParam);
}

// ---- Labels ----

void composeLabelBackground(HWND label, HDC dc) {
    RECT own;
    GetWindowRect(label, &own);
    if (HWND parent = GetParent(label)) {
        POINT client{0, 0};
        ClientToScreen(parent, &client);
        gdi::SavedState saved(dc);
        SetViewportOrgEx(dc, client.x - own.left, client.y - own.top, nullptr);
        SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    }
    for (HWND sibling : bottomUp(GetWindow(label, GW_HWNDNEXT))) {
        if (!hasVisibleStyle(sibling)) continue;
        RECT r, overlap;
        GetWindowRect(sibling, &r);
        if (!IntersectRect(&overlap, &r, &own)) continue;
        renderWindowTree(sibling, dc, POINT{r.left - own.left, r.top - own.top});
    }
}

void paintLabel(HWND label, HDC target) {
    RECT rc;
    GetClientRect(label, &rc);
    if (rc.right <= 0 || rc.bottom <= 0) return;
    gdi::MemoryDC canvas(target);
    gdi::Bitmap bitmap(gdi::createDibSection(rc.right, rc.bottom));
    if (!canvas || !bitmap) return;
    gdi::Select keepBitmap(canvas, bitmap);
    composeLabelBackground(label, canvas);

    const int length = GetWindowTextLengthA(label);
    if (length > 0) {
        std::string text(static_cast<size_t>(length) + 1, '\0');
        const int copied = GetWindowTextA(label, text.data(), length + 1);
        HFONT font = static_cast<HFONT>(GetPropA(label, fontProp));
        gdi::Select keepFont(canvas, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(canvas, TRANSPARENT);
        SetTextColor(canvas, static_cast<COLORREF>(reinterpret_cast<uintptr_t>(GetPropA(label, textColorProp))));
        const UINT align = GetPropA(label, centredProp) ? DT_CENTER : DT_LEFT;
        RECT box = rc;
        DrawTextA(canvas, text.data(), copied, &box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
    }
    BitBlt(target, 0, 0, rc.right, rc.bottom, canvas, 0, 0, SRCCOPY);
}

LRESULT CALLBACK transparentLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCDESTROY:
        if (auto owned = static_cast<HFONT>(GetPropA(label, ownedFontProp))) DeleteObject(owned);
        RemovePropA(label, ownedFontProp);
        RemovePropA(label, fontProp);
        RemovePropA(label, textColorProp);
        RemovePropA(label, centredProp);
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(label, &ps);
        paintLabel(label, dc);
        EndPaint(label, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        paintLabel(label, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETTEXT: {
        // The whole label is composed again, so nothing of the old text survives.
        const LRESULT result = DefWindowProcA(label, message, wParam, lParam);
        RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return result;
    }
    case WM_SETFONT:
        SetPropA(label, fontProp, reinterpret_cast<HANDLE>(wParam));
        if (LOWORD(lParam)) RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(GetPropA(label, fontProp));
    case WM_NCHITTEST:
        return HTTRANSPARENT;  // clicks reach what lies beneath
    }
    return DefWindowProcA(label, message, wParam, lParam);
}

constexpr char photoFilter[] = "支持的图像\0*.jpg;*.bmp;*.gif\0";
constexpr char pngFilter[] = "PNG图像\0*.png\0";

}  // namespace

FileDialog openPhotoDialog{false, photoFilter, sizeof(photoFilter), {}};
FileDialog savePngDialog{true, pngFilter, sizeof(pngFilter), {}};

void registerFormClasses(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpfnWndProc = pictureBoxProc;
    wc.lpszClassName = pictureBoxClass;
    if (!GetClassInfoExA(instance, pictureBoxClass, &wc)) RegisterClassExA(&wc);
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof(wc);
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpfnWndProc = transparentLabelProc;
    wc.lpszClassName = transparentLabelClass;
    if (!GetClassInfoExA(instance, transparentLabelClass, &wc)) RegisterClassExA(&wc);
}

HWND createPictureBox(HWND parent, int id, int x, int y, int width, int height) {
    return CreateWindowExA(0, pictureBoxClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y,
                           width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

void setPictureBytes(HWND box, const void* data, size_t size) {
    PictureState* state = pictureState(box);
    if (!state) return;
    KillTimer(box, animationTimer);
    state->picture = decodePicture(data, size, GetSysColor(COLOR_BTNFACE));
    state->frame = 0;
    state->scaled.reset();
    if (state->picture.frames.size() > 1)
        SetTimer(box, animationTimer, std::max(1u, state->picture.frames[0].delayMs), nullptr);
    repaintBox(box);
}

bool hasPicture(HWND box) {
    const PictureState* state = pictureState(box);
    return state && state->picture;
}

size_t pictureFrameCount(HWND box) {
    const PictureState* state = pictureState(box);
    return state ? state->picture.frames.size() : 0;
}

size_t pictureFrameIndex(HWND box) {
    const PictureState* state = pictureState(box);
    return state ? state->frame : 0;
}

HWND createTransparentLabel(HWND parent, int id, int x, int y, int width, int height, const char* text, HFONT font,
                            bool ownsFont, COLORREF textColor, bool centred) {
    HWND label = CreateWindowExA(0, transparentLabelClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width,
                                 height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
    if (!label) {
        if (ownsFont && font) DeleteObject(font);
        return nullptr;
    }
    SetPropA(label, textColorProp, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(textColor)));
    SetPropA(label, centredProp, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(centred ? 1 : 0)));
    SetPropA(label, fontProp, font);
    if (ownsFont) SetPropA(label, ownedFontProp, font);
    SetWindowTextA(label, text);
    return label;
}

HFONT createLabelFont(LabelFont font) {
    if (font == LabelFont::DefaultGui) return nullptr;
    const FontDescription f = fontDescription(font);
    return CreateFontA(f.height, 0, 0, 0, f.weight, FALSE, FALSE, FALSE, f.charset, f.outPrecision, f.clipPrecision,
                       f.quality, f.pitchAndFamily, f.face);
}

void renderWindowTree(HWND window, HDC dc, POINT origin) {
    RECT own;
    GetWindowRect(window, &own);
    {
        gdi::SavedState saved(dc);
        if (isOwnClass(window)) {
            POINT client{0, 0};
            ClientToScreen(window, &client);
            SetViewportOrgEx(dc, origin.x + client.x - own.left, origin.y + client.y - own.top, nullptr);
            SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        } else {
            SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
            SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        }
    }
    for (HWND child : bottomUp(GetWindow(window, GW_CHILD))) {
        if (!hasVisibleStyle(child)) continue;
        RECT r;
        GetWindowRect(child, &r);
        renderWindowTree(child, dc, POINT{origin.x + r.left - own.left, origin.y + r.top - own.top});
    }
}

DWORD fileDialogFlags(const FileDialog& dialog) {
    DWORD flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!dialog.save) flags |= OFN_FILEMUSTEXIST;
    return flags;
}

bool showFileDialog(FileDialog& dialog, HWND owner, std::string& chosenPath) {
    std::vector<char> buffer(32768, '\0');
    dialog.lastPath.copy(buffer.data(), buffer.size() - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = dialog.filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.Flags = fileDialogFlags(dialog);
    const BOOL confirmed = dialog.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!confirmed || !buffer[0]) return false;
    chosenPath = buffer.data();
    dialog.lastPath = chosenPath;
    return true;
}

std::vector<uint8_t> readWholeFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size{};
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
        static_cast<uint64_t>(size.QuadPart) <= maxPictureFileBytes) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        DWORD got = 0;
        while (done < bytes.size() &&
               ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr) && got > 0)
            done += got;
        if (done != bytes.size()) bytes.clear();  // shrank while being read: not a whole file
    }
    CloseHandle(file);
    return bytes;
}

std::vector<uint8_t> resourceBytes(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const auto* data = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    const DWORD size = SizeofResource(module, found);
    if (!data || !size) return {};
    return std::vector<uint8_t>(data, data + size);
}
