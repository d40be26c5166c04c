// MainWindow: the window itself, every control of the form against its table, focus order and keys.
#include <gtest/gtest.h>

#include "app/composer.h"
#include "skin/skin.h"
#include "support/app.h"

using testapp::MainWindowTest;
using testapp::textOf;

namespace {

RECT rectInParent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

const char* expectedClass(ControlKind kind) {
    switch (kind) {
    case ControlKind::TransparentLabel: return transparentLabelClass;
    case ControlKind::PictureBox: return pictureBoxClass;
    case ControlKind::ListBox: return "ListBox";
    case ControlKind::EditBox: return "Edit";
    case ControlKind::PushButton: return "Button";
    }
    return "";
}

MSG keyDown(HWND target, WPARAM key) {
    MSG msg{};
    msg.hwnd = target;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = 1 | (static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), 0)) << 16);
    msg.time = GetTickCount();
    return msg;
}

}  // namespace

TEST(Layout, CentredOriginIsTruncatedTowardZero) {
    struct Case {
        int screen, window, origin;
    } cases[] = {{1280, 614, 333}, {1024, 482, 271}, {614, 614, 0}, {615, 614, 0}, {600, 614, -7}, {601, 614, -6},
                 {0, 482, -241}};
    for (const auto& c : cases) EXPECT_EQ(centredOrigin(c.screen, c.window), c.origin) << c.screen << " " << c.window;
}

TEST_F(MainWindowTest, WindowHasItsClassCaptionFrameSizeAndIcons) {
    EXPECT_EQ(windowClassName(window), formWindowClass);
    EXPECT_EQ(textOf(window), mainWindowCaption);
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD | WS_POPUP));
    const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_FALSE(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);

    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, 614);
    EXPECT_EQ(r.bottom - r.top, 482);
    EXPECT_EQ(r.left, centredOrigin(GetSystemMetrics(SM_CXSCREEN), 614));
    EXPECT_EQ(r.top, centredOrigin(GetSystemMetrics(SM_CYSCREEN), 482));

    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
}

TEST_F(MainWindowTest, EveryControlMatchesTheForm) {
    HWND view = formControl(ids::certificateView);
    ASSERT_NE(view, nullptr);
    const auto guiFont = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const auto& entry : formControls) {
        SCOPED_TRACE(entry.id);
        HWND control = formControl(entry.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetParent(control), entry.parent == ControlParent::MainWindow ? window : view);
        EXPECT_EQ(windowClassName(control), expectedClass(entry.kind));
        const RECT r = rectInParent(control);
        EXPECT_EQ(r.left, entry.x);
        EXPECT_EQ(r.top, entry.y);
        EXPECT_EQ(r.right - r.left, entry.width);
        EXPECT_EQ(r.bottom - r.top, entry.height);
        EXPECT_EQ(textOf(control), entry.text);

        const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
        const LONG_PTR exStyle = GetWindowLongPtrA(control, GWL_EXSTYLE);
        EXPECT_TRUE(style & WS_VISIBLE);
        EXPECT_FALSE(style & WS_DISABLED);
        const bool takesFocus = entry.kind == ControlKind::ListBox || entry.kind == ControlKind::EditBox ||
                                entry.kind == ControlKind::PushButton;
        EXPECT_EQ((style & WS_TABSTOP) != 0, takesFocus);
        switch (entry.kind) {
        case ControlKind::ListBox:
            EXPECT_TRUE(style & LBS_NOTIFY);
            EXPECT_FALSE(style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED));
            EXPECT_EQ(SendMessageA(control, LB_GETCOUNT, 0, 0), 0);
            break;
        case ControlKind::EditBox:
            EXPECT_FALSE(style & (ES_MULTILINE | ES_READONLY | ES_PASSWORD));
            break;
        case ControlKind::PushButton:
            EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
            break;
        case ControlKind::PictureBox:
            EXPECT_FALSE(style & (WS_BORDER | WS_DLGFRAME));
            EXPECT_FALSE(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
            EXPECT_TRUE(hasPicture(control));  // the built-in template and photo
            break;
        case ControlKind::TransparentLabel:
            break;
        }

        const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        if (entry.kind == ControlKind::PictureBox) continue;
        if (entry.font == LabelFont::DefaultGui) {
            EXPECT_EQ(font, guiFont);
            continue;
        }
        LOGFONTA lf{};
        ASSERT_TRUE(GetObjectA(font, sizeof(lf), &lf));
        const FontDescription f = fontDescription(entry.font);
        EXPECT_EQ(lf.lfHeight, f.height);
        EXPECT_EQ(lf.lfWeight, f.weight);
        EXPECT_EQ(lf.lfCharSet, 134);
        EXPECT_EQ(lf.lfOutPrecision, f.outPrecision);
        EXPECT_EQ(lf.lfClipPrecision, f.clipPrecision);
        EXPECT_EQ(lf.lfQuality, f.quality);
        EXPECT_EQ(lf.lfPitchAndFamily, f.pitchAndFamily);
        EXPECT_STREQ(lf.lfFaceName, f.face);
        EXPECT_EQ(lf.lfWidth, 0);
        EXPECT_EQ(lf.lfEscapement, 0);
        EXPECT_EQ(lf.lfOrientation, 0);
        EXPECT_FALSE(lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut);
    }
}

TEST(Layout, LabelFontsAreTheStatedOnes) {
    struct Case {
        int id;
        int height, weight;
        BYTE out, clip, quality, pitch;
        const char* face;
        COLORREF colour;
        bool centred;
    } cases[] = {
        {ids::nameLabel, -10, 400, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH, "宋体", RGB(0, 0, 0), false},
        {ids::sexLabel, -12, 400, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH, "宋体", RGB(0, 0, 0), false},
        {ids::holderNameLabel, -12, 400, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY, FIXED_PITCH | FF_MODERN, "楷体",
         RGB(255, 0, 0), true},
        {ids::issueDateLabel, -12, 700, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY, FIXED_PITCH | FF_MODERN, "楷体",
         RGB(255, 0, 0), false},
        {ids::serialLabel, -12, 700, 0, 0, 0, 0, "", RGB(255, 0, 0), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const FormEntry* entry = findFormEntry(c.id);
        ASSERT_NE(entry, nullptr);
        const FontDescription f = fontDescription(entry->font);
        EXPECT_EQ(f.height, c.height);
        EXPECT_EQ(f.weight, c.weight);
        EXPECT_EQ(f.charset, 134);
        EXPECT_EQ(f.outPrecision, c.out);
        EXPECT_EQ(f.clipPrecision, c.clip);
        EXPECT_EQ(f.quality, c.quality);
        EXPECT_EQ(f.pitchAndFamily, c.pitch);
        EXPECT_STREQ(f.face, c.face);
        EXPECT_EQ(entry->textColor, c.colour);
        EXPECT_EQ(entry->centred, c.centred);
    }
    for (int id : {ids::listCaption, ids::nameCaption, ids::sexCaption, ids::ageCaption, ids::photoCaption, ids::ageLabel}) {
        EXPECT_EQ(findFormEntry(id)->font, LabelFont::DefaultGui) << id;
        EXPECT_EQ(findFormEntry(id)->textColor, RGB(0, 0, 0)) << id;
    }
}

TEST_F(MainWindowTest, FocusGoesFromTheListToTheEditsToTheButtons) {
    const int order[] = {ids::templateList, ids::nameEdit,     ids::sexEdit,   ids::ageEdit,
                         ids::changePhotoButton, ids::previewButton, ids::saveButton, ids::templateList};
    HWND control = GetNextDlgTabItem(window, nullptr, FALSE);
    for (int id : order) {
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetDlgCtrlID(control), id);
        control = GetNextDlgTabItem(window, control, FALSE);
    }
}

TEST_F(MainWindowTest, TabMovesFocusEnterIsHarmlessAndEscInAnEditCloses) {
    show();
    HWND list = formControl(ids::templateList);
    SetFocus(list);
    processFormMessage(keyDown(list, VK_TAB));
    EXPECT_EQ(GetFocus(), formControl(ids::nameEdit));
    processFormMessage(keyDown(GetFocus(), VK_TAB));
    EXPECT_EQ(GetFocus(), formControl(ids::sexEdit));

    processFormMessage(keyDown(GetFocus(), VK_RETURN));
    testpx::pumpMessages(50);
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(textOf(formControl(ids::issueDateLabel)), "");

    processFormMessage(keyDown(formControl(ids::sexEdit), VK_ESCAPE));
    testapp::pumpUntil([&] { return !IsWindow(window); }, 3000);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(mainWindow, nullptr);
}

TEST_F(MainWindowTest, EnterPressesTheFocusedButton) {
    show();
    HWND preview = formControl(ids::previewButton);
    SetFocus(preview);
    processFormMessage(keyDown(preview, VK_RETURN));
    testpx::pumpMessages(50);
    EXPECT_NE(textOf(formControl(ids::issueDateLabel)), "");
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(MainWindowTest, ChineseTypedIntoAnEditBoxArrivesWhole) {
    show();
    HWND edit = formControl(ids::nameEdit);
    SetFocus(edit);
    // Posted as a keyboard and an input method deliver them, through the program's own loop.
    for (wchar_t ch : std::wstring(L"张小明")) PostMessageW(edit, WM_CHAR, ch, 1);
    PostMessageA(edit, WM_CHAR, 'A', 1);
    PostMessageW(edit, WM_IME_CHAR, L'三', 1);
    PostMessageA(edit, WM_IME_CHAR, 0xB7E1, 1);  // 丰 as a GBK input method hands it to an 8-bit window
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) processFormMessage(msg);
    EXPECT_EQ(textOf(edit), "张小明A三丰");
}

TEST_F(MainWindowTest, StartsWithTheBuiltInPicturesAndEmptyOverlayLabels) {
    show();
    for (int id : {ids::nameLabel, ids::sexLabel, ids::ageLabel, ids::holderNameLabel, ids::issueDateLabel,
                   ids::serialLabel})
        EXPECT_EQ(textOf(formControl(id)), "") << id;
    // The default photo: light grey background at its corners, grey silhouette in the lower middle.
    const auto photo = testpx::captureClient(formControl(ids::photoBox));
    ASSERT_EQ(photo.width, 80);
    auto about = [](COLORREF c, int v) {
        return std::abs(GetRValue(c) - v) <= 6 && std::abs(GetGValue(c) - v) <= 6 && std::abs(GetBValue(c) - v) <= 6;
    };
    EXPECT_TRUE(about(photo.at(2, 2), 235)) << testpx::colourText(photo.at(2, 2));
    EXPECT_TRUE(about(photo.at(40, 76), 153)) << testpx::colourText(photo.at(40, 76));
    // The default template: dark blue left half, white right half.
    const auto view = testpx::captureClient(formControl(ids::certificateView));
    const COLORREF left = view.at(30, 100), right = view.at(300, 20);
    EXPECT_LT(GetRValue(left), 60);
    EXPECT_GT(GetBValue(left), GetRValue(left));
    EXPECT_GT(GetRValue(right), 230);
    EXPECT_GT(GetGValue(right), 230);
}

TEST_F(MainWindowTest, WindowCreatedStartsTheSkinTheListingAndSeedsTheGenerator) {
    const DWORD before = GetTickCount();
    onWindowCreated();
    const DWORD after = GetTickCount();
    EXPECT_EQ(skinMainWindow, window);
    const int first = drawRandom();
    bool seededFromTheClock = false;
    for (DWORD tick = before; tick != after + 1; ++tick)
        seededFromTheClock |= randomValueOf(nextRandomState(tick)) == first;
    EXPECT_TRUE(seededFromTheClock);
    EXPECT_TRUE(testapp::waitForListing(formControl(ids::templateList)));
    RECT client;
    GetClientRect(window, &client);
    EXPECT_GE(client.right, 600);  // the form's controls all fit in the client area
    EXPECT_GE(client.bottom, 456);
}
