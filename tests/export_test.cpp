// Export: the written name, the PNG read back with libpng, the pixels against the screen, and the
// failures that must leave nothing behind and be reported.
#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>

#include "app/composer.h"
#include "app/export.h"
#include "support/app.h"

using testapp::MainWindowTest;

namespace {

struct PngFile {
    bool ok = false;
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0, compression = 0, filter = 0, passes = 0;
    std::vector<uint8_t> rgb;
};

// Reads with libpng's interlace handling. Plain C state only: libpng leaves with longjmp.
bool readPngInto(FILE* file, PngFile* out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    png_get_IHDR(png, info, &out->width, &out->height, &out->bitDepth, &out->colorType, &out->interlace,
                 &out->compression, &out->filter);
    if (out->bitDepth != 8 || out->colorType != PNG_COLOR_TYPE_RGB || out->width > 10000 || out->height > 10000)
        png_error(png, "unexpected format");
    out->passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    out->rgb.resize(static_cast<size_t>(out->width) * out->height * 3);
    for (int pass = 0; pass < out->passes; ++pass)
        for (png_uint_32 y = 0; y < out->height; ++y)
            png_read_row(png, out->rgb.data() + static_cast<size_t>(y) * out->width * 3, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

PngFile readPng(const std::string& path) {
    PngFile result;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return result;
    result.ok = readPngInto(file, &result);
    std::fclose(file);
    return result;
}

std::string contentOf(const std::string& path) {
    const auto bytes = readWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// Pixels of a screen capture as RGB bytes.
std::vector<uint8_t> rgbOf(const testpx::Capture& capture) {
    std::vector<uint8_t> rgb;
    for (uint32_t p : capture.pixels) {
        rgb.push_back((p >> 16) & 0xFF);
        rgb.push_back((p >> 8) & 0xFF);
        rgb.push_back(p & 0xFF);
    }
    return rgb;
}

size_t differingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size()) return SIZE_MAX;
    size_t count = 0;
    for (size_t i = 0; i < a.size(); i += 3) count += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
    return count;
}

class ExportTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        savePngDialog.lastPath.clear();
    }
    HWND view() { return formControl(ids::certificateView); }
    void compose() {
        SetWindowTextA(formControl(ids::nameEdit), "张三丰 & Co");
        SetWindowTextA(formControl(ids::sexEdit), "男");
        SetWindowTextA(formControl(ids::ageEdit), "88");
        onPreviewClicked();
    }
    testapp::ScratchFolder folder{"导出"};
};

}  // namespace

TEST(SaveName, PngIsAppendedOnlyWhenMissing) {
    const struct {
        const char* chosen;
        const char* written;
    } cases[] = {
        {"D:\\x\\cert", "D:\\x\\cert.png"}, {"cert.png", "cert.png"},        {"cert.PNG", "cert.PNG"},
        {"cert.Png", "cert.Png"},           {"证书", "证书.png"},              {"证书.png", "证书.png"},
        {"cert.png.txt", "cert.png.txt.png"}, {"a.pn", "a.pn.png"},         {"png", "png.png"},
        {"D:\\x.png\\cert", "D:\\x.png\\cert.png"},
    };
    for (const auto& c : cases) EXPECT_EQ(pngOutputPath(c.chosen), c.written) << c.chosen;
}

TEST_F(ExportTest, WritesAnAdam7RgbPngOfTheViewAndNothingElse) {
    compose();
    const RgbImage image = renderCertificate(view());
    ASSERT_EQ(image.width, 464);
    ASSERT_EQ(image.height, 296);
    std::string error;
    ASSERT_TRUE(writePngFile(image, folder / "证书.png", error)) << error;
    const PngFile png = readPng(folder / "证书.png");
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(png.width, 464u);
    EXPECT_EQ(png.height, 296u);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.colorType, PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(png.interlace, PNG_INTERLACE_ADAM7);
    EXPECT_EQ(png.passes, 7);
    EXPECT_EQ(png.compression, PNG_COMPRESSION_TYPE_BASE);
    EXPECT_EQ(png.filter, PNG_FILTER_TYPE_BASE);
    EXPECT_EQ(png.rgb, image.rgb);
    EXPECT_EQ(testapp::folderEntries(folder.path), std::vector<std::string>{"证书.png"});
}

TEST_F(ExportTest, SavedPngEqualsTheScreenOfTheUncoveredView) {
    show();
    testapp::ScratchFolder photos("照片");
    testapp::writeFile(photos / "p.bmp", testapp::bmp24(30, 35, [](int x, int y) { return RGB(x * 8, y * 7, 90); }));
    {
        testapp::DialogDriver driver({photos / "p.bmp"});
        onChangePhotoClicked();
    }
    compose();
    testpx::pumpMessages(200);
    const testpx::Capture screen = testpx::captureClient(view());
    testapp::MessageBoxRecorder boxes;
    {
        testapp::DialogDriver driver({folder / "cert"});
        onSaveClicked();
    }
    EXPECT_TRUE(boxes.texts.empty());
    const PngFile png = readPng(folder / "cert.png");
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(differingPixels(png.rgb, rgbOf(screen)), 0u);
    if (png.rgb != rgbOf(screen)) testpx::saveBmp(screen, "export_screen.bmp");
    EXPECT_EQ(testapp::folderEntries(folder.path), std::vector<std::string>{"cert.png"});
}

TEST_F(ExportTest, ACoveringWindowDoesNotGetIntoThePng) {
    show();
    compose();
    testpx::pumpMessages(200);
    const testpx::Capture uncovered = testpx::captureClient(view());
    RECT r;
    GetWindowRect(view(), &r);
    HWND cover = CreateWindowExA(WS_EX_TOPMOST, "Static", "", WS_POPUP | WS_VISIBLE, r.left + 50, r.top + 40, 200, 150,
                                 nullptr, nullptr, nullptr, nullptr);
    testpx::pumpMessages(200);
    const testpx::Capture covered = testpx::captureClient(view());
    EXPECT_GT(differingPixels(rgbOf(covered), rgbOf(uncovered)), 1000u);  // the cover is really on screen
    testapp::MessageBoxRecorder boxes;
    {
        testapp::DialogDriver driver({folder / "covered.png"});
        onSaveClicked();
    }
    const PngFile png = readPng(folder / "covered.png");
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(differingPixels(png.rgb, rgbOf(uncovered)), 0u);
    SetWindowPos(cover, nullptr, -30000, -30000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST_F(ExportTest, AnExistingFileIsReplacedOnlyAfterAsking) {
    testapp::writeFile(folder / "cert.png", std::string("old"));
    {
        // "cert" is written as cert.png, which exists: asked; "no" shows the dialog again, then cancel.
        testapp::MessageBoxRecorder boxes(IDNO);
        testapp::DialogDriver driver({folder / "cert", ""});
        onSaveClicked();
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_NE(boxes.texts[0].find(folder / "cert.png"), std::string::npos) << boxes.texts[0];
        EXPECT_NE(boxes.texts[0].find("已存在"), std::string::npos);
        EXPECT_EQ(driver.answered(), 2);
    }
    EXPECT_EQ(contentOf(folder / "cert.png"), "old");
    {
        testapp::MessageBoxRecorder boxes(IDYES);
        testapp::DialogDriver driver({folder / "cert.png"});  // the full name: still asked, not cert.png.png
        onSaveClicked();
        EXPECT_EQ(boxes.texts.size(), 1u);
    }
    EXPECT_TRUE(readPng(folder / "cert.png").ok);
    EXPECT_EQ(testapp::folderEntries(folder.path), std::vector<std::string>{"cert.png"});
}

TEST_F(ExportTest, CancelWritesNothingAndTheNextSaveOffersTheChosenPath) {
    testapp::MessageBoxRecorder boxes(IDYES);
    std::vector<std::string> offered, folders;
    {
        testapp::DialogDriver driver({""});
        onSaveClicked();
    }
    EXPECT_TRUE(testapp::folderEntries(folder.path).empty());
    {
        testapp::DialogDriver driver({folder / "again", folder / "again"});
        onSaveClicked();
        onSaveClicked();
        EXPECT_EQ(driver.unexpected(), 0);
        offered = driver.offered();
        folders = driver.offeredFolders();
    }
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0], "");
    EXPECT_EQ(offered[1], "again");  // as chosen, without the appended suffix, in its folder
    EXPECT_EQ(lstrcmpiA(folders[1].c_str(), folder.path.c_str()), 0) << folders[1];
    // The second save writes again.png once more, which exists now: it asks first.
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find(folder / "again.png"), std::string::npos);
    EXPECT_EQ(testapp::folderEntries(folder.path), std::vector<std::string>{"again.png"});
}

TEST_F(ExportTest, FolderGivenAsTheFileIsReportedAndLeftAlone) {
    CreateDirectoryA((folder / "x.png").c_str(), nullptr);
    testapp::MessageBoxRecorder boxes;
    {
        testapp::DialogDriver driver({folder / "x"});
        onSaveClicked();
    }
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("文件夹"), std::string::npos) << boxes.texts[0];
    EXPECT_EQ(testapp::folderEntries(folder.path), std::vector<std::string>{"x.png"});
    EXPECT_TRUE(testapp::folderEntries(folder / "x.png").empty());
}

TEST_F(ExportTest, UnwritableTargetIsReportedAndNothingIsLeftBehind) {
    testapp::writeFile(folder / "locked.png", std::string("old"));
    SetFileAttributesA((folder / "locked.png").c_str(), FILE_ATTRIBUTE_READONLY);
    testapp::MessageBoxRecorder boxes(IDYES);
    {
        testapp::DialogDriver driver({folder / "locked"});
        onSaveClicked();
    }
    ASSERT_EQ(boxes.texts.size(), 2u);  // the question, then the failure
    EXPECT_NE(boxes.texts[1].find("无法保存"), std::string::npos) << boxes.texts[1];
    SetFileAttributesA((folder / "locked.png").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(contentOf(folder / "locked.png"), "old");
    EXPECT_EQ(testapp::folderEntries(folder.path), std::vector<std::string>{"locked.png"});
}

TEST_F(ExportTest, BadPathsFailWithAReasonAndLeaveNothing) {
    const RgbImage image = renderCertificate(view());
    CreateDirectoryA((folder / "dir.png").c_str(), nullptr);
    for (const std::string& path : {folder / "missing\\cert.png", folder / "a|b.png", folder / "dir.png",
                                    std::string("Q:\\no drive\\cert.png")}) {
        std::string error;
        EXPECT_FALSE(writePngFile(image, path, error)) << path;
        EXPECT_FALSE(error.empty()) << path;
    }
    EXPECT_EQ(testapp::folderEntries(folder.path), std::vector<std::string>{"dir.png"});
    std::string error;
    EXPECT_FALSE(writePngFile(RgbImage{}, folder / "empty.png", error));
    EXPECT_EQ(testapp::folderEntries(folder.path), std::vector<std::string>{"dir.png"});
}

TEST_F(ExportTest, LibpngWriteErrorsAreCaught) {
    const RgbImage image = renderCertificate(view());
    testapp::writeFile(folder / "readonly.bin", std::string("x"));
    HANDLE readOnly = CreateFileA((folder / "readonly.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(readOnly, INVALID_HANDLE_VALUE);
    std::string error;
    EXPECT_FALSE(writePng(readOnly, image, error));
    EXPECT_FALSE(error.empty());
    CloseHandle(readOnly);
    EXPECT_EQ(contentOf(folder / "readonly.bin"), "x");
}
