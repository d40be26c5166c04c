// Bad input through the composer's own paths: every picture of the corpus as a template and as a
// photo, awkward template names, a template folder that is a file, and an export onto the longest
// path the platform allows. Nothing may crash or hang, nothing half-written may stay, and a failed
// export says which file and why.
#include <gtest/gtest.h>

#include "app/composer.h"
#include "skin/decode.h"
#include "support/app.h"
#include "support/corpus.h"

using testapp::MainWindowTest;

namespace {

std::vector<uint8_t> goodJpeg() { return resourceBytes(IDR_DEFAULT_TEMPLATE); }

std::wstring wideOf(const std::string& ansi) {
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(), n);
    return w;
}

bool endsWithJpg(const std::string& name) { return isTemplateName(name.c_str()); }

class BadInputTest : public MainWindowTest {
protected:
    HWND list() const { return formControl(ids::templateList); }
    HWND view() const { return formControl(ids::certificateView); }
    HWND photo() const { return formControl(ids::photoBox); }

    std::vector<std::string> listTemplates() {
        startTemplateListing(list());
        EXPECT_TRUE(testapp::waitForListing(list()));
        return testapp::listItems(list());
    }
    // Selects an item as the user's click would, and reports whether the view shows a picture.
    bool selectTemplate(const std::string& name) {
        const LRESULT index = SendMessageA(list(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(name.c_str()));
        EXPECT_GE(index, 0) << name;
        SendMessageA(list(), LB_SETCURSEL, index, 0);
        onTemplateSelected();
        testpx::pumpMessages(10);
        return hasPicture(view());
    }
    static void expectShown(corpus::Shows shows, bool shown, const char* what) {
        if (shows == corpus::Shows::picture) {
            EXPECT_TRUE(shown) << what;
        }
        if (shows == corpus::Shows::nothing) {
            EXPECT_FALSE(shown) << what;
        }
    }
};

TEST_F(BadInputTest, EveryPictureAsATemplate) {
    testapp::TemplateFolder folder;
    const std::vector<corpus::Picture> pictures = corpus::pictures(goodJpeg());
    // Every picture is tried as a template: names that do not end in .jpg get it appended.
    std::vector<std::pair<std::string, const corpus::Picture*>> templates;
    for (const corpus::Picture& p : pictures) {
        std::string name = corpus::ansi(p.name);
        if (!endsWithJpg(name)) name += ".jpg";
        ASSERT_TRUE(corpus::writeFile(wideOf(folder / name), p.bytes)) << name;
        templates.emplace_back(name, &p);
    }
    show();
    const std::vector<std::string> listed = listTemplates();
    ASSERT_EQ(listed.size(), templates.size());

    for (const auto& [name, picture] : templates) {
        SCOPED_TRACE(picture->what);
        ASSERT_TRUE(selectTemplate("good.jpg"));
        expectShown(picture->shows, selectTemplate(name), picture->what);
        // The window still answers and paints.
        EXPECT_TRUE(RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN));
    }
    // An animated picture plays as a template too, and a long animation is cut to what the
    // decoder keeps.
    ASSERT_TRUE(selectTemplate("gif-named.jpg"));
    EXPECT_EQ(pictureFrameCount(view()), 3u);
    ASSERT_TRUE(selectTemplate("flicker.gif.jpg"));
    EXPECT_GT(pictureFrameCount(view()), 1u);
    EXPECT_LE(pictureFrameCount(view()), kMaxAnimationBytes / (640 * 480 * 4));
    // After all that the composition still works.
    onPreviewClicked();
    EXPECT_FALSE(testapp::textOf(formControl(ids::serialLabel)).empty());
}

TEST_F(BadInputTest, EveryPictureAsAPhoto) {
    testapp::ScratchFolder folder("坏照片");
    const std::vector<corpus::Picture> pictures = corpus::pictures(goodJpeg());
    for (const corpus::Picture& p : pictures)
        ASSERT_TRUE(corpus::writeFile(wideOf(folder / corpus::ansi(p.name)), p.bytes));
    show();
    // A few through the open dialog itself, as the user chooses them.
    for (const char* name : {"huge.png", "zero.jpg", "animated.gif", "wrapping.bmp"}) {
        const auto& p = *std::find_if(pictures.begin(), pictures.end(),
                                      [&](const corpus::Picture& c) { return corpus::ansi(c.name) == name; });
        setPictureBytes(photo(), goodJpeg());
        {
            testapp::DialogDriver driver({folder / name});
            onChangePhotoClicked();
            EXPECT_EQ(driver.answered(), 1) << name;
        }
        expectShown(p.shows, hasPicture(photo()), p.what);
    }
    // All of them along the same path: the chosen file read whole and handed to the box.
    for (const corpus::Picture& p : pictures) {
        SCOPED_TRACE(p.what);
        setPictureBytes(photo(), goodJpeg());
        ASSERT_TRUE(hasPicture(photo()));
        setPictureBytes(photo(), readWholeFile(folder / corpus::ansi(p.name)));
        expectShown(p.shows, hasPicture(photo()), p.what);
        testpx::pumpMessages(5);  // an animation's first timer tick
    }
    setPictureBytes(photo(), readWholeFile(folder / "animated.gif"));
    EXPECT_EQ(pictureFrameCount(photo()), 3u);
}

TEST_F(BadInputTest, TemplateNamesWithChineseSpacesAndTwoHundredCharacters) {
    testapp::TemplateFolder folder;
    const auto names = corpus::templateNames();
    // Removed by their wide names: a name the code page cannot spell cannot be deleted by its "A" form.
    struct WideFiles {
        std::vector<std::wstring> paths;
        ~WideFiles() {
            for (const auto& p : paths) DeleteFileW(p.c_str());
        }
    } files;
    for (const corpus::Name& n : names) {
        files.paths.push_back(wideOf(folder.path) + L"\\" + corpus::wide(n.name));
        ASSERT_TRUE(corpus::writeFile(files.paths.back(), goodJpeg()));
    }
    show();
    const std::vector<std::string> listed = listTemplates();
    ASSERT_EQ(listed.size(), names.size());
    for (const corpus::Name& n : names) {
        const std::string shown = corpus::ansi(n.name);
        SCOPED_TRACE(shown);
        ASSERT_NE(std::find(listed.begin(), listed.end(), shown), listed.end());
        setPictureBytes(view(), std::vector<uint8_t>{});
        // The name is opened as listed; a path over the platform's limit cannot be, and a name the
        // code page cannot spell is listed with "?" and cannot be opened either.
        const bool openable = n.ansiExpressible && (templateFolder() + shown).size() < MAX_PATH;
        EXPECT_EQ(selectTemplate(shown), openable);
    }
    EXPECT_EQ(corpus::twoHundredCharacters().size(), 6u * 3 + 194);  // 200 characters, 6 of them Chinese
}

TEST_F(BadInputTest, TemplateFolderThatIsAFile) {
    const std::string path = programDirectory() + "\\模板";
    testapp::removeTree(path);
    ASSERT_TRUE(testapp::writeFile(path, std::string("a file where the folder should be")));
    show();
    EXPECT_TRUE(listTemplates().empty());
    EXPECT_TRUE(hasPicture(view()));  // the built-in template stays
    onPreviewClicked();
    EXPECT_FALSE(testapp::textOf(formControl(ids::serialLabel)).empty());
    DeleteFileA(path.c_str());
}

// The longest full path the "A" calls take is 259 characters; a folder may be at most 248 long.
std::string folderOfLength(const std::string& base, size_t length) {
    std::string folder = base;
    while (folder.size() < length) {
        const size_t room = length - folder.size() - 1;  // one for the backslash
        folder += '\\';
        folder.append(room > 100 ? 100 : room, 'd');
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    return folder;
}

TEST_F(BadInputTest, ExportOntoAFullPathOf259Characters) {
    testapp::ScratchFolder scratch("长路径");
    const RgbImage image = renderCertificate(view());
    for (size_t folderLength : {size_t(200), size_t(230), size_t(248)}) {
        const std::string folder = folderOfLength(scratch.path, folderLength);
        ASSERT_EQ(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD(FILE_ATTRIBUTE_DIRECTORY));
        const std::string path = folder + "\\" + std::string(259 - folder.size() - 1 - 4, 'c') + ".png";
        ASSERT_EQ(path.size(), 259u);
        SCOPED_TRACE(path);
        std::string error;
        EXPECT_TRUE(writePngFile(image, path, error)) << error;
        EXPECT_EQ(testapp::folderEntries(folder), std::vector<std::string>{path.substr(folder.size() + 1)});
        HANDLE png = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(png, INVALID_HANDLE_VALUE);
        char signature[8] = {};
        DWORD got = 0;
        ReadFile(png, signature, 8, &got, nullptr);
        CloseHandle(png);
        EXPECT_EQ(std::string(signature + 1, 3), "PNG");
        DeleteFileA(path.c_str());
    }
    // One character more: Windows refuses it, Wine may not; either way no partial file.
    const std::string folder = folderOfLength(scratch.path, 248);
    const std::string name = std::string(260 - folder.size() - 1 - 4, 'c') + ".png";
    std::string error;
    if (writePngFile(image, folder + "\\" + name, error))
        EXPECT_EQ(testapp::folderEntries(folder), std::vector<std::string>{name});
    else
        EXPECT_TRUE(testapp::folderEntries(folder).empty() && !error.empty()) << error;
}

TEST_F(BadInputTest, SaveDialogTakesA259CharacterPath) {
    testapp::ScratchFolder scratch("长路径");
    const std::string folder = folderOfLength(scratch.path, 240);
    const std::string chosen = folder + "\\" + std::string(259 - folder.size() - 1 - 4, 'e');
    show();
    testapp::MessageBoxRecorder boxes;
    {
        testapp::DialogDriver driver({chosen});
        onSaveClicked();
        EXPECT_EQ(driver.answered(), 1);
    }
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    EXPECT_EQ(testapp::folderEntries(folder), std::vector<std::string>{std::string(259 - folder.size() - 1 - 4, 'e') + ".png"});
}

}  // namespace
