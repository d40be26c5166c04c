// Composition: the serial number generator, the issue date, the preview and the head photo.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include "app/composer.h"
#include "support/app.h"

using testapp::MainWindowTest;
using testapp::textOf;

namespace {

DWORD WINAPI drawThreeAfterSeeding(void* out) {
    auto* values = static_cast<int*>(out);
    seedRandom(12345);
    for (int i = 0; i < 3; ++i) values[i] = drawRandom();
    return 0;
}

DWORD WINAPI drawUnseeded(void* out) {
    *static_cast<int*>(out) = drawRandom();
    return 0;
}

std::string today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return issueDateText(now.wYear, now.wMonth);
}

class CompositionTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        openPhotoDialog.lastPath.clear();
    }
    void type(int id, const char* text) { SetWindowTextA(formControl(id), text); }
    std::string label(int id) { return textOf(formControl(id)); }
    COLORREF photoPixel(int x, int y) {
        testpx::Canvas canvas(80, 80);
        renderWindowTree(formControl(ids::photoBox), canvas.dc, POINT{0, 0});
        return canvas.at(x, y);
    }
};

}  // namespace

TEST(RandomGenerator, SeedZeroGivesTheKnownSequence) {
    static_assert(randomValueOf(nextRandomState(0)) == 38);
    seedRandom(0);
    for (int expected : {38, 7719, 21238, 2437, 8855, 11797}) EXPECT_EQ(drawRandom(), expected);
    seedRandom(0);
    EXPECT_EQ(drawRandom(), 38);  // the same seed, the same sequence
}

TEST(RandomGenerator, EveryThreadHasItsOwnState) {
    seedRandom(0);
    int values[3] = {};
    HANDLE thread = CreateThread(nullptr, 0, drawThreeAfterSeeding, values, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_EQ(values[0], 7584);
    EXPECT_EQ(values[1], 19164);
    EXPECT_EQ(values[2], 25795);
    EXPECT_EQ(drawRandom(), 38);  // untouched by the other thread's seeding and draws

    int unseeded = -1;
    thread = CreateThread(nullptr, 0, drawUnseeded, &unseeded, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_EQ(unseeded, 41);  // a thread that was never seeded starts from 1
}

TEST(IssueDate, YearAndMonthWithoutLeadingZeros) {
    const struct {
        int year, month;
        const char* text;
    } cases[] = {{2010, 8, "2010年8月"}, {2010, 12, "2010年12月"}, {2024, 1, "2024年1月"}, {1999, 10, "1999年10月"}};
    for (const auto& c : cases) EXPECT_EQ(issueDateText(c.year, c.month), c.text);
}

TEST_F(CompositionTest, PreviewFillsTheSixLabels) {
    type(ids::nameEdit, "张三 & Co");
    type(ids::sexEdit, "男");
    type(ids::ageEdit, "三十三");
    seedRandom(0);
    const std::string before = today();
    onPreviewClicked();
    const std::string after = today();
    EXPECT_EQ(label(ids::nameLabel), "张三 & Co");
    EXPECT_EQ(label(ids::sexLabel), "男");
    EXPECT_EQ(label(ids::ageLabel), "三十三");
    EXPECT_EQ(label(ids::holderNameLabel), "张三 & Co");
    EXPECT_TRUE(label(ids::issueDateLabel) == before || label(ids::issueDateLabel) == after);
    EXPECT_EQ(label(ids::serialLabel), "38");

    // Editing alone changes nothing on the certificate; the next press draws the next number.
    type(ids::nameEdit, "李四");
    EXPECT_EQ(label(ids::nameLabel), "张三 & Co");
    onPreviewClicked();
    EXPECT_EQ(label(ids::nameLabel), "李四");
    EXPECT_EQ(label(ids::holderNameLabel), "李四");
    EXPECT_EQ(label(ids::serialLabel), "7719");
}

TEST_F(CompositionTest, EmptyEditsEmptyTheTextLabelsButStillDateAndNumber) {
    type(ids::nameEdit, "王五");
    type(ids::sexEdit, "女");
    type(ids::ageEdit, "20");
    onPreviewClicked();
    for (int id : {ids::nameEdit, ids::sexEdit, ids::ageEdit}) type(id, "");
    onPreviewClicked();
    for (int id : {ids::nameLabel, ids::sexLabel, ids::ageLabel, ids::holderNameLabel})
        EXPECT_EQ(label(id), "") << id;
    EXPECT_FALSE(label(ids::issueDateLabel).empty());
    const std::string serial = label(ids::serialLabel);
    ASSERT_FALSE(serial.empty());
    EXPECT_LE(serial.size(), 5u);
    EXPECT_LE(std::stoi(serial), 32767);
}

TEST_F(CompositionTest, ChosenPhotoReplacesThePicture) {
    testapp::ScratchFolder folder("头像");
    testapp::writeFile(folder / "红色.bmp", testapp::solidBmp(30, 40, RGB(220, 20, 20)));
    {
        testapp::DialogDriver driver({folder / "红色.bmp"});
        onChangePhotoClicked();
    }
    EXPECT_TRUE(hasPicture(formControl(ids::photoBox)));
    EXPECT_EQ(photoPixel(5, 5), RGB(220, 20, 20));
    EXPECT_EQ(photoPixel(75, 75), RGB(220, 20, 20));
    EXPECT_EQ(openPhotoDialog.lastPath, folder / "红色.bmp");
}

TEST_F(CompositionTest, CancelledPhotoDialogChangesNothingAndTheLastPathIsOffered) {
    testapp::ScratchFolder folder("头像");
    testapp::writeFile(folder / "blue.bmp", testapp::solidBmp(8, 8, RGB(20, 20, 220)));
    const COLORREF original = photoPixel(2, 2);
    std::vector<std::string> offered;
    {
        testapp::DialogDriver driver({""});
        onChangePhotoClicked();
        EXPECT_EQ(driver.answered(), 1);
        offered = driver.offered();
    }
    EXPECT_TRUE(hasPicture(formControl(ids::photoBox)));
    EXPECT_EQ(photoPixel(2, 2), original);
    std::vector<std::string> folders;
    {
        testapp::DialogDriver driver({folder / "blue.bmp", ""});
        onChangePhotoClicked();
        onChangePhotoClicked();
        offered.insert(offered.end(), driver.offered().begin(), driver.offered().end());
        folders = driver.offeredFolders();
    }
    EXPECT_EQ(photoPixel(2, 2), RGB(20, 20, 220));
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[0], "");  // no default name the first time
    EXPECT_EQ(offered[1], "");  // a cancelled dialog leaves nothing to offer
    // The path chosen last is offered: the dialog opens in its folder with its name.
    EXPECT_EQ(offered[2], "blue.bmp");
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(lstrcmpiA(folders[1].c_str(), folder.path.c_str()), 0) << folders[1];
}

TEST_F(CompositionTest, UndecodablePhotoLeavesTheBoxEmpty) {
    testapp::ScratchFolder folder("头像");
    testapp::writeFile(folder / "photo.jpg", std::string("no picture in here"));
    {
        testapp::DialogDriver driver({folder / "photo.jpg"});
        onChangePhotoClicked();
    }
    EXPECT_FALSE(hasPicture(formControl(ids::photoBox)));
    EXPECT_EQ(photoPixel(40, 40), GetSysColor(COLOR_BTNFACE));
}

TEST(FileDialogs, SettingsOfBothDialogs) {
    EXPECT_FALSE(openPhotoDialog.save);
    EXPECT_TRUE(savePngDialog.save);
    EXPECT_EQ(std::string(openPhotoDialog.filter, openPhotoDialog.filterSize),
              std::string("支持的图像\0*.jpg;*.bmp;*.gif\0", sizeof("支持的图像\0*.jpg;*.bmp;*.gif\0")));
    EXPECT_EQ(std::string(savePngDialog.filter, savePngDialog.filterSize),
              std::string("PNG图像\0*.png\0", sizeof("PNG图像\0*.png\0")));
    for (const FileDialog* dialog : {&openPhotoDialog, &savePngDialog}) {
        const DWORD flags = fileDialogFlags(*dialog);
        EXPECT_TRUE(flags & OFN_HIDEREADONLY);
        EXPECT_TRUE(flags & OFN_PATHMUSTEXIST);
        EXPECT_FALSE(flags & OFN_OVERWRITEPROMPT);  // the export asks about the file it really writes
        EXPECT_FALSE(flags & OFN_ALLOWMULTISELECT);
        EXPECT_EQ((flags & OFN_FILEMUSTEXIST) != 0, !dialog->save);
    }
}
