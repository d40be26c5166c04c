#include "app/export.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "app/forms.h"
#include "app/mainwindow.h"
#include "skin/gdi.h"

MessageBoxFunction showMessageBox = platformMessageBox;

int platformMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxA(owner, text, caption, type);
}

namespace {

constexpr char messageCaption[] = "Certivex";

// ---- libpng: plain C state only, since errors leave encodePng through longjmp ----

struct PngFailure {
    char message[256];
};

void pngErrorHandler(png_structp png, png_const_charp message) {
    auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    if (failure) {
        std::strncpy(failure->message, message ? message : "", sizeof(failure->message) - 1);
        failure->message[sizeof(failure->message) - 1] = '\0';
    }
    png_longjmp(png, 1);
}

void pngWarningHandler(png_structp, png_const_charp) {}

void pngWriteData(png_structp png, png_bytep data, size_t length) {
    HANDLE file = png_get_io_ptr(png);
    while (length > 0) {
        const DWORD chunk = length > 0x10000000 ? 0x10000000 : static_cast<DWORD>(length);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) png_error(png, "写入文件失败");
        data += written;
        length -= written;
    }
}

void pngFlush(png_structp) {}

// No object with a destructor may live in this function: libpng leaves it with longjmp.
bool encodePng(HANDLE file, const uint8_t* rgb, int width, int height, PngFailure* failure) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, failure, pngErrorHandler, pngWarningHandler);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, file, pngWriteData, pngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    const size_t stride = static_cast<size_t>(width) * 3;
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < height; ++y) png_write_row(png, rgb + stride * y);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// ---- files ----

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length && text ? std::string(text, length) : std::string();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    if (message.empty()) message = "错误代码 " + std::to_string(code);
    return message;
}

std::string fullPathOf(const std::string& path) {
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::vector<char> buffer(needed + 1, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    return length && length < buffer.size() ? std::string(buffer.data(), length) : path;
}

std::string folderOf(const std::string& fullPath) {
    const size_t slash = fullPath.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    return fullPath.substr(0, slash + 1);  // keeps "C:\" for a file in a drive's root
}

bool endsWithPng(const std::string& path) {
    return path.size() >= 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".png") == 0;
}

}  // namespace

std::string pngOutputPath(const std::string& chosenPath) {
    // A GBK trail byte is never '.', so a byte match of ".png" is a match of the characters.
    return endsWithPng(chosenPath) ? chosenPath : chosenPath + ".png";
}

RgbImage renderCertificate(HWND view) {
    RgbImage image;
    RECT r;
    if (!view || !GetWindowRect(view, &r) || r.right <= r.left || r.bottom <= r.top) return image;
    const int width = r.right - r.left, height = r.bottom - r.top;
    void* bits = nullptr;
    gdi::Bitmap canvas(gdi::createDibSection(width, height, &bits));
    gdi::MemoryDC dc;
    if (!canvas || !bits || !dc) return image;
    {
        gdi::Select keep(dc, canvas);
        renderWindowTree(view, dc, POINT{0, 0});
    }
    GdiFlush();
    image.width = width;
    image.height = height;
    image.rgb.resize(static_cast<size_t>(width) * height * 3);
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
        image.rgb[i * 3] = (pixels[i] >> 16) & 0xFF;
        image.rgb[i * 3 + 1] = (pixels[i] >> 8) & 0xFF;
        image.rgb[i * 3 + 2] = pixels[i] & 0xFF;
    }
    return image;
}

bool writePng(HANDLE file, const RgbImage& image, std::string& error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3) {
        error = "没有可保存的图像。";
        return false;
    }
    PngFailure failure{};
    SetLastError(0);
    if (encodePng(file, image.rgb.data(), image.width, image.height, &failure)) return true;
    const DWORD code = GetLastError();
    error = failure.message[0] ? std::string(failure.message) : std::string("PNG 编码失败");
    if (code) error += "（" + systemMessage(code) + "）";
    return false;
}

bool writePngFile(const RgbImage& image, const std::string& path, std::string& error) {
    const std::string target = fullPathOf(path);
    // A read-only file is not replaced (some file systems would let the rename through).
    const DWORD existing = GetFileAttributesA(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) {
        error = systemMessage(ERROR_ACCESS_DENIED);
        return false;
    }
    char temporary[MAX_PATH + 1] = {};
    if (!GetTempFileNameA(folderOf(target).c_str(), "cvx", 0, temporary)) {
        error = systemMessage(GetLastError());
        return false;
    }
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = systemMessage(GetLastError());
        DeleteFileA(temporary);
        return false;
    }
    const bool written = writePng(file, image, error);
    const DWORD closeError = CloseHandle(file) ? 0 : GetLastError();
    if (written && closeError) error = systemMessage(closeError);
    if (!written || closeError) {
        DeleteFileA(temporary);
        return false;
    }
    if (!MoveFileExA(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = systemMessage(GetLastError());
        DeleteFileA(temporary);
        return false;
    }
    return true;
}

void onSaveClicked() {
    HWND view = formControl(ids::certificateView);
    // Rendered before the dialog opens: the picture is the composition at the click.
    const RgbImage image = renderCertificate(view);
    std::string chosen, output;
    for (;;) {
        if (!showFileDialog(savePngDialog, mainWindow, chosen)) return;
        output = pngOutputPath(chosen);
        const DWORD attributes = GetFileAttributesA(output.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) break;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            const std::string text = "“" + output + "”是一个文件夹，不能用作图片的文件名。";
            showMessageBox(mainWindow, text.c_str(), messageCaption, MB_OK | MB_ICONERROR);
            return;
        }
        const std::string question = output + " 已存在。\n要替换它吗？";
        if (showMessageBox(mainWindow, question.c_str(), messageCaption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
            IDYES)
            break;
    }
    std::string error;
    if (!writePngFile(image, output, error)) {
        const std::string text = "无法保存证书图片“" + output + "”。\n" + error;
        showMessageBox(mainWindow, text.c_str(), messageCaption, MB_OK | MB_ICONERROR);
    }
}
