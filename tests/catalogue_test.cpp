// The template catalogue: the folder "模板" beside this test program, listed on the worker thread.
#include <gtest/gtest.h>


#include "app/composer.h"
#include "support/app.h"

using testapp::MainWindowTest;

namespace {

class CatalogueTest : public MainWindowTest {
protected:
    HWND list() const { return formControl(ids::templateList); }
    HWND view() const { return formControl(ids::certificateView); }

    std::vector<std::string> listAll() {
        startTemplateListing(list());
        EXPECT_TRUE(testapp::waitForListing(list()));
        auto items = testapp::listItems(list());
        std::sort(items.begin(), items.end());
        return items;
    }
    void select(const std::string& name) {
        const LRESULT index = SendMessageA(list(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(name.c_str()));
        ASSERT_GE(index, 0) << name;
        SendMessageA(list(), LB_SETCURSEL, index, 0);
        onTemplateSelected();
    }
    COLORREF viewPixel() {
        testpx::Canvas canvas(464, 296);
        renderWindowTree(view(), canvas.dc, POINT{0, 0});
        return canvas.at(20, 20);  // no label or photo there
    }
};

}  // namespace

TEST(Catalogue, ProgramDirectoryIsTheFolderOfTheExecutable) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    const std::string directory = programDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_NE(directory.back(), '\\');
    EXPECT_EQ(lstrcmpiA((directory + "\\catalogue_test.exe").c_str(), module), 0) << directory;
    EXPECT_EQ(templateFolder(), directory + "\\模板\\");
}

TEST(Catalogue, TemplateNamesEndInJpgInAnyCase) {
    const struct {
        const char* name;
        bool listed;
    } cases[] = {{"a.jpg", true},      {"b.JPG", true},         {"c.Jpg", true},  {"证书.jpg", true},
                 {".jpg", true},       {"d.jpeg", false},       {"e.jpg.txt", false}, {"f.jpg1", false},
                 {"jpg", false},       {"g.png", false},        {"", false}};
    for (const auto& c : cases) EXPECT_EQ(isTemplateName(c.name), c.listed) << c.name;
}

TEST_F(CatalogueTest, ListsJpgFilesOfAnyCaseButNoFolders) {
    testapp::TemplateFolder folder;
    testapp::writeFile(folder / "a.jpg", testapp::sampleJpeg());
    testapp::writeFile(folder / "b.JPG", testapp::sampleJpeg());
    CreateDirectoryA((folder / "c.jpg").c_str(), nullptr);
    testapp::writeFile(folder / "d.png", testapp::sampleJpeg());
    testapp::writeFile(folder / "e.jpeg", testapp::sampleJpeg());
    EXPECT_EQ(listAll(), (std::vector<std::string>{"a.jpg", "b.JPG"}));
}

TEST_F(CatalogueTest, ListsHiddenSystemAndReadOnlyFiles) {
    testapp::TemplateFolder folder;
    const std::pair<const char*, DWORD> files[] = {
        {"h.jpg", FILE_ATTRIBUTE_HIDDEN}, {"r.jpg", FILE_ATTRIBUTE_READONLY}, {"s.jpg", FILE_ATTRIBUTE_SYSTEM}};
    for (const auto& [name, attribute] : files) {
        testapp::writeFile(folder / name, testapp::sampleJpeg());
        SetFileAttributesA((folder / name).c_str(), attribute);
    }
    EXPECT_EQ(listAll(), (std::vector<std::string>{"h.jpg", "r.jpg", "s.jpg"}));
}

TEST_F(CatalogueTest, WithoutTheFolderTheListStaysEmptyAndTheDefaultTemplateStays) {
    testapp::removeTree(programDirectory() + "\\模板");
    const COLORREF before = viewPixel();
    EXPECT_TRUE(listAll().empty());
    EXPECT_TRUE(hasPicture(view()));
    EXPECT_EQ(viewPixel(), before);
}

TEST_F(CatalogueTest, SelectingReadsTheFileAfreshEveryTime) {
    testapp::TemplateFolder folder;
    const std::string path = folder / "卡片.jpg";  // any decodable picture counts, whatever its name says
    testapp::writeFile(path, testapp::solidBmp(50, 32, RGB(200, 30, 30)));
    ASSERT_EQ(listAll().size(), 1u);
    select("卡片.jpg");
    EXPECT_EQ(viewPixel(), RGB(200, 30, 30));
    select("卡片.jpg");
    EXPECT_EQ(viewPixel(), RGB(200, 30, 30));  // the same file again: the same picture

    // The overlay labels are composed again over the new template on screen.
    show();
    SetWindowTextA(formControl(ids::nameEdit), "张三");
    onPreviewClicked();
    testapp::writeFile(path, testapp::solidBmp(50, 32, RGB(30, 30, 200)));
    select("卡片.jpg");
    EXPECT_EQ(viewPixel(), RGB(30, 30, 200));
    testpx::pumpMessages(150);
    testpx::Canvas rendered(464, 296);
    renderWindowTree(view(), rendered.dc, POINT{0, 0});
    const testpx::Capture screen = testpx::captureClient(view());
    int differing = 0;
    for (int y = 0; y < 296; ++y)
        for (int x = 0; x < 464; ++x) differing += screen.at(x, y) != rendered.at(x, y);
    EXPECT_EQ(differing, 0);
    // Overlay labels and the photo are not touched by a template change.
    EXPECT_TRUE(hasPicture(formControl(ids::photoBox)));

    DeleteFileA(path.c_str());
    select("卡片.jpg");
    EXPECT_FALSE(hasPicture(view()));
    EXPECT_EQ(viewPixel(), GetSysColor(COLOR_BTNFACE));
}

TEST_F(CatalogueTest, BadFilesAreListedAndLeaveTheViewEmpty) {
    testapp::TemplateFolder folder;
    const auto jpeg = testapp::sampleJpeg();
    testapp::writeFile(folder / "empty.jpg", std::string());
    testapp::writeFile(folder / "truncated.jpg", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 3));
    testapp::writeFile(folder / "x.jpg", std::string("just some text, not a picture\r\n"));
    testapp::writeFile(folder / "huge.jpg", testapp::jpegClaimingSize(60000, 60000));
    testapp::writeFile(folder / "荣誉证书模板.jpg", jpeg);
    ASSERT_EQ(listAll().size(), 5u);
    for (const char* bad : {"empty.jpg", "truncated.jpg", "x.jpg", "huge.jpg"}) {
        select("荣誉证书模板.jpg");
        ASSERT_TRUE(hasPicture(view()));
        select(bad);
        EXPECT_FALSE(hasPicture(view())) << bad;
    }
}

// 10,000 empty templates take long to create under Wine; they are made once per build folder and
// moved into place for each run.
std::string tenThousandTemplates() {
    const std::string cache = programDirectory() + "\\catalogue-10000";
    if (testapp::exists(cache + "\\ready.txt")) return cache;
    testapp::removeTree(cache);
    CreateDirectoryA(cache.c_str(), nullptr);
    for (int i = 0; i < 10000; ++i) {
        char name[32];
        wsprintfA(name, "\\t%05d.jpg", i);
        HANDLE file = CreateFileA((cache + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return {};
        CloseHandle(file);
    }
    testapp::writeFile(cache + "\\ready.txt", std::string("not a template"));
    return cache;
}

TEST_F(CatalogueTest, TenThousandFilesListWhileTheWindowResponds) {
    const std::string cache = tenThousandTemplates();
    ASSERT_FALSE(cache.empty());
    const std::string folder = programDirectory() + "\\模板";
    testapp::removeTree(folder);
    ASSERT_TRUE(MoveFileA(cache.c_str(), folder.c_str()));
    struct MoveBack {
        const std::string& from;
        const std::string& to;
        ~MoveBack() { MoveFileA(from.c_str(), to.c_str()); }
    } moveBack{folder, cache};
    constexpr int count = 10000;

    show();
    startTemplateListing(list());
    // A message posted now is handled while the list is still filling, and the list grows in steps
    // that the user-interface thread sees between its own messages.
    constexpr UINT probe = WM_APP + 5;
    PostThreadMessageA(GetCurrentThreadId(), probe, 0, 0);
    LRESULT countWhenPosted = -1;
    std::vector<LRESULT> seen;
    const DWORD start = GetTickCount();
    while (!GetPropA(list(), listingDoneProp) && GetTickCount() - start < 120000) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == probe && !msg.hwnd)
                countWhenPosted = SendMessageA(list(), LB_GETCOUNT, 0, 0);
            else
                processFormMessage(msg);
        }
        const LRESULT n = SendMessageA(list(), LB_GETCOUNT, 0, 0);
        if (seen.empty() || seen.back() != n) seen.push_back(n);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    ASSERT_TRUE(GetPropA(list(), listingDoneProp));
    EXPECT_EQ(SendMessageA(list(), LB_GETCOUNT, 0, 0), count);
    EXPECT_GE(countWhenPosted, 0);
    EXPECT_LT(countWhenPosted, count);
    EXPECT_GT(seen.size(), 10u);
    // The last one is there and selecting an empty file just empties the view.
    select("t09999.jpg");
    EXPECT_FALSE(hasPicture(view()));
}
