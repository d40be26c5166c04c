#include "app/composer.h"

#include <vector>

#include "app/forms.h"
#include "app/mainwindow.h"

namespace {

thread_local uint32_t randomState = 1;  // an unseeded thread starts as the C library's rand does

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    return std::string(text.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void setText(int id, const std::string& text) { SetWindowTextA(formControl(id), text.c_str()); }

}  // namespace

void seedRandom(uint32_t seed) { randomState = seed; }

int drawRandom() {
    randomState = nextRandomState(randomState);
    return randomValueOf(randomState);
}

std::string issueDateText(int year, int month) {
    return std::to_string(year) + "年" + std::to_string(month) + "月";
}

void onChangePhotoClicked() {
    std::string path;
    if (!showFileDialog(openPhotoDialog, mainWindow, path)) return;
    setPictureBytes(formControl(ids::photoBox), readWholeFile(path));
}

void onPreviewClicked() {
    setText(ids::nameLabel, windowText(formControl(ids::nameEdit)));
    setText(ids::sexLabel, windowText(formControl(ids::sexEdit)));
    setText(ids::ageLabel, windowText(formControl(ids::ageEdit)));
    setText(ids::holderNameLabel, windowText(formControl(ids::nameEdit)));
    // Year and month from one reading of the clock, so the turn of a year cannot mix them.
    SYSTEMTIME now;
    GetLocalTime(&now);
    setText(ids::issueDateLabel, issueDateText(now.wYear, now.wMonth));
    setText(ids::serialLabel, std::to_string(drawRandom()));
}
