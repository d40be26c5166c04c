// The form layer: picture boxes, transparent labels, file dialogs, and the file and resource
// services the composer reads its pictures with.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/layout.h"

inline constexpr char pictureBoxClass[] = "Certivex.PictureBox";
inline constexpr char transparentLabelClass[] = "Certivex.TransparentLabel";

// Registers the picture box and label classes (once per process).
void registerFormClasses(HINSTANCE instance);

// ---- Picture boxes --------------------------------------------------------------------------
// A picture box shows its picture stretched to the whole client area; without one it shows the
// button-face colour. An animated GIF plays its frames, each for its own delay.
HWND createPictureBox(HWND parent, int id, int x, int y, int width, int height);
// Decodes the bytes (JPEG, BMP, GIF, PNG); empty or undecodable bytes leave the box without a picture.
void setPictureBytes(HWND box, const void* data, size_t size);
inline void setPictureBytes(HWND box, const std::vector<uint8_t>& bytes) {
    setPictureBytes(box, bytes.data(), bytes.size());
}
bool hasPicture(HWND box);
size_t pictureFrameCount(HWND box);
size_t pictureFrameIndex(HWND box);

// ---- Transparent labels ---------------------------------------------------------------------
// A label draws only its text (single line, vertically centred, no prefix processing, clipped)
// over whatever its parent and the siblings beneath it show.
HWND createTransparentLabel(HWND parent, int id, int x, int y, int width, int height, const char* text,
                            HFONT font, bool ownsFont, COLORREF textColor, bool centred);
HFONT createLabelFont(LabelFont font);  // nullptr for the default GUI font

// Paints a window and its visible descendants into dc, as they show on screen, with the window's
// top-left corner at `origin` of dc's logical coordinates (only this program's own control classes
// paint exactly; other windows are asked to print themselves).
void renderWindowTree(HWND window, HDC dc, POINT origin);

// ---- File dialogs ---------------------------------------------------------------------------
// Both dialogs: the platform's title, no initial folder, no default extension, the first filter
// every time, the last confirmed path offered as the file name, read-only box hidden, the folder
// must exist (the open dialog: the file too). No overwrite question: the caller asks about the
// file it really writes.
struct FileDialog {
    bool save;
    const char* filter;  // pairs of description and pattern, each ending in a zero byte
    size_t filterSize;   // including the final zero
    std::string lastPath;
};
extern FileDialog openPhotoDialog;  // 打开
extern FileDialog savePngDialog;    // 保存
DWORD fileDialogFlags(const FileDialog& dialog);
// Shows the dialog; true with the chosen path when the user confirmed.
bool showFileDialog(FileDialog& dialog, HWND owner, std::string& chosenPath);

// ---- Services -------------------------------------------------------------------------------
// Files larger than this are treated as unreadable: nothing the boxes can show is that big.
inline constexpr uint64_t maxPictureFileBytes = 128ull << 20;
// The whole file; empty when it cannot be opened or read, is a folder, or is too large.
std::vector<uint8_t> readWholeFile(const std::string& path);
// Bytes of an RCDATA resource of the program; empty when missing.
std::vector<uint8_t> resourceBytes(int id);
