// Export: CertificateView rendered off screen and written as an Adam7-interlaced PNG.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The written name: ".png" is appended unless the chosen name already ends in it (any letter case).
std::string pngOutputPath(const std::string& chosenPath);

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // top-down rows of red, green, blue bytes, no padding
};
// What the view shows (its picture, PhotoBox and the overlay labels), painted off screen so that no
// window over it can get into the picture.
RgbImage renderCertificate(HWND view);

// Encodes the picture as an 8-bit RGB PNG, Adam7 interlaced, into an open file. False with the
// reason in `error` when libpng or the file fails.
bool writePng(HANDLE file, const RgbImage& image, std::string& error);

// Writes an 8-bit RGB PNG, Adam7 interlaced, to a temporary file in the destination folder and
// renames it into place (replacing an existing file) only once it is complete. On failure the
// temporary file is removed, nothing at `path` changes, and `error` says why.
bool writePngFile(const RgbImage& image, const std::string& path, std::string& error);

// Message boxes of the export: the overwrite question and the failure report. Tests replace it.
using MessageBoxFunction = int (*)(HWND owner, const char* text, const char* caption, UINT type);
extern MessageBoxFunction showMessageBox;
int platformMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Click of SaveButton.
void onSaveClicked();
