// The skinned frame's behaviour through real messages to real windows: skinStart on a main window
// (once for this process), windows attached by the creation hook, the message table of
// skinFrameProc, the caption button state machine, the file dialog, and the main window's end.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <map>
#include <string>
#include <vector>

#include "skin/attach.h"
#include "skin/frame.h"
#include "support/pixels.h"

namespace {

constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;  // like Certivex's main window

// Messages that reached the form's own procedure, per window.
std::map<HWND, std::vector<UINT>> seen;
// What classifyWindow made of each window it looked at.
std::map<HWND, WindowKind> classified;

LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen[window].push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool sawMessage(HWND window, UINT message) {
    for (UINT m : seen[window])
        if (m == message) return true;
    return false;
}

HWND createForm(DWORD style, const char* title, int w = 300, int h = 200, int x = 200, int y = 150) {
    return CreateWindowExA(0, formWindowClass, title, style, x, y, w, h, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

std::string captionCopy(HWND window) {
    return readCaptionTextBlock(reinterpret_cast<HGLOBAL>(getSkinProp(window, prop::captionText)));
}

SIZE windowSize(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE clientSize(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

HICON testIcon() {
    static HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    return icon;
}

// Started once: the main window with a push button, an edit box, a list box, a static label and
// a grandchild under the label.
struct MainWindow {
    HWND window = nullptr;
    SIZE clientBefore{};
    WNDPROC procBefore = nullptr;
    HWND button = nullptr, edit = nullptr, list = nullptr, label = nullptr, grandchild = nullptr;
};

const MainWindow& mainWindow() {
    static const MainWindow main = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = formProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = formWindowClass;
        RegisterClassExA(&wc);
        allocateSkinTables();
        setClassifyWatcher([](HWND window, WindowKind kind) { classified[window] = kind; });

        MainWindow m;
        m.window = createForm(kMainStyle, "证书生成器", 480, 360, 40, 40);
        SendMessageA(m.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(testIcon()));
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        m.button = CreateWindowExA(0, "Button", "预览", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24,
                                   m.window, nullptr, instance, nullptr);
        m.edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 40, 80, 24, m.window, nullptr, instance,
                                 nullptr);
        m.list = CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE, 10, 70, 80, 80, m.window, nullptr, instance,
                                 nullptr);
        m.label = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 100, 10, 200, 200, m.window, nullptr,
                                  instance, nullptr);
        m.grandchild = CreateWindowExA(0, "Button", "x", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 5, 5, 40, 20,
                                       m.label, nullptr, instance, nullptr);
        m.clientBefore = clientSize(m.window);
        m.procBefore = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m.window, GWLP_WNDPROC));
        classified.clear();
        skinStart(m.window, SkinPalette{}, false);
        return m;
    }();
    return main;
}

class SkinnedFrame : public testing::Test {
protected:
    static void SetUpTestSuite() { mainWindow(); }
    void TearDown() override {
        for (HWND w : windows_)
            if (IsWindow(w)) DestroyWindow(w);
    }
    HWND form(DWORD style, const char* title, int w = 300, int h = 200) {
        HWND window = createForm(style, title, w, h);
        windows_.push_back(window);
        return window;
    }
    std::vector<HWND> windows_;
};

}  // namespace

TEST_F(SkinnedFrame, MainWindowAttachedAndResized) {
    const MainWindow& m = mainWindow();
    HWND w = m.window;
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(skinFrameProc));
    EXPECT_EQ(getSkinProp(w, prop::windowProc), reinterpret_cast<intptr_t>(m.procBefore));
    EXPECT_EQ(getSkinProp(w, prop::closeButton), 0);
    EXPECT_EQ(getSkinProp(w, prop::systemMenu), 1);
    EXPECT_EQ(getSkinProp(w, prop::captionBar), 1);
    EXPECT_EQ(getSkinProp(w, prop::maximizeButton), 3);
    EXPECT_EQ(getSkinProp(w, prop::minimizeButton), 3);
    EXPECT_EQ(getSkinProp(w, prop::iconHandle), reinterpret_cast<intptr_t>(testIcon()));
    EXPECT_EQ(fallbackIcon, testIcon());
    EXPECT_EQ(getSkinProp(w, prop::timerState), 0);
    EXPECT_EQ(getSkinProp(w, prop::restoreFlag), 0);
    EXPECT_EQ(captionCopy(w), "证书生成器");
    EXPECT_EQ(skinMainWindow, w);
    EXPECT_NE(createHook, nullptr);
    // The client area keeps its size under the skin's frame: the window is the client plus (6, 36).
    const SIZE outer = windowSize(w), client = clientSize(w);
    EXPECT_EQ(client.cx, m.clientBefore.cx);
    EXPECT_EQ(client.cy, m.clientBefore.cy);
    EXPECT_EQ(outer.cx, m.clientBefore.cx + 6);
    EXPECT_EQ(outer.cy, m.clientBefore.cy + 36);
}

TEST_F(SkinnedFrame, DirectChildrenClassifiedGrandchildrenNot) {
    const MainWindow& m = mainWindow();
    ASSERT_TRUE(classified.count(m.button));
    EXPECT_EQ(classified[m.button], WindowKind::pushButton);
    EXPECT_EQ(classified[m.edit], WindowKind::editBox);
    EXPECT_EQ(classified[m.list], WindowKind::none);
    EXPECT_EQ(classified[m.label], WindowKind::none);
    EXPECT_FALSE(classified.count(m.grandchild));
    // Skinned once, never twice: a second start does nothing.
    const LONG_PTR proc = GetWindowLongPtrA(m.window, GWLP_WNDPROC);
    HWND other = form(kMainStyle, "second");
    const intptr_t otherSaved = getSkinProp(other, prop::windowProc);
    skinStart(other, SkinPalette{}, false);
    EXPECT_EQ(skinMainWindow, m.window);
    EXPECT_EQ(getSkinProp(other, prop::windowProc), otherSaved);
    EXPECT_EQ(GetWindowLongPtrA(m.window, GWLP_WNDPROC), proc);
}

TEST_F(SkinnedFrame, HookAttachesEveryStyle) {
    struct Case {
        const char* name;
        DWORD style;
        intptr_t close, systemMenu, caption, maximize, minimize;
    };
    const Case cases[] = {
        {"overlapped window", WS_OVERLAPPEDWINDOW, 0, 1, 1, 0, 0},
        {"close only", kMainStyle, 0, 1, 1, 3, 3},
        {"maximize box only", kMainStyle | WS_MAXIMIZEBOX, 0, 1, 1, 0, 3},
        {"no system menu", WS_POPUP | WS_CAPTION | WS_MINIMIZEBOX, 3, 0, 1, 3, 0},
        {"half the caption bits", WS_POPUP | WS_DLGFRAME | WS_SYSMENU, 0, 1, 0, 3, 3},
        {"border only", WS_POPUP | WS_BORDER, 3, 0, 0, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND w = form(c.style, c.name, 300, 200);
        // Attached at its WM_CREATE, before its own procedure saw it, which still sees it.
        EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(skinFrameProc));
        EXPECT_EQ(getSkinProp(w, prop::windowProc), reinterpret_cast<intptr_t>(formProc));
        EXPECT_TRUE(sawMessage(w, WM_CREATE));
        EXPECT_EQ(getSkinProp(w, prop::closeButton), c.close);
        EXPECT_EQ(getSkinProp(w, prop::systemMenu), c.systemMenu);
        EXPECT_EQ(getSkinProp(w, prop::captionBar), c.caption);
        EXPECT_EQ(getSkinProp(w, prop::maximizeButton), c.maximize);
        EXPECT_EQ(getSkinProp(w, prop::minimizeButton), c.minimize);
        // No icon of its own: the main window's.
        EXPECT_EQ(getSkinProp(w, prop::iconHandle), reinterpret_cast<intptr_t>(fallbackIcon));
        EXPECT_EQ(captionCopy(w), c.name);
        // Every skinned frame takes the skin's insets; only a full caption grows the window for them.
        const SIZE outer = windowSize(w), client = clientSize(w);
        EXPECT_EQ(outer.cx - client.cx, 6);
        EXPECT_EQ(outer.cy - client.cy, 36);
        if (!c.caption) {
            EXPECT_EQ(outer.cx, 300);
            EXPECT_EQ(outer.cy, 200);
        }
        // Met again (a second classification), the window stays chained to its own procedure once.
        classifyWindow(w);
        EXPECT_EQ(getSkinProp(w, prop::windowProc), reinterpret_cast<intptr_t>(formProc));
        EXPECT_EQ(windowSize(w).cx, outer.cx);
        seen[w].clear();
        SendMessageA(w, WM_USER, 0, 0);
        EXPECT_TRUE(sawMessage(w, WM_USER));
    }
}

// A window class whose procedure creates controls while it is itself being created, and one that
// refuses its creation in WM_NCCREATE or WM_CREATE.
constexpr char kNestingClass[] = "Certivex.Test.Nesting";
HWND nestedInNcCreate = nullptr, nestedInCreate = nullptr, nestedCombo = nullptr;
enum class Refusal { none, ncCreate, create } refusal = Refusal::none;

LRESULT CALLBACK nestingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (message == WM_NCCREATE) {
        if (refusal == Refusal::ncCreate) return FALSE;
        nestedInNcCreate = CreateWindowExA(0, "Button", "a", WS_CHILD | BS_PUSHBUTTON, 0, 0, 40, 20, window, nullptr,
                                           instance, nullptr);
    } else if (message == WM_CREATE) {
        if (refusal == Refusal::create) return -1;
        nestedInCreate = CreateWindowExA(0, "Button", "b", WS_CHILD | BS_AUTOCHECKBOX, 0, 30, 40, 20, window, nullptr,
                                         instance, nullptr);
        nestedCombo = CreateWindowExA(0, "ComboBox", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 60, 80, 100, window, nullptr,
                                      instance, nullptr);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createNesting() {
    static const ATOM registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = nestingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kNestingClass;
        return RegisterClassExA(&wc);
    }();
    EXPECT_NE(registered, 0);
    return CreateWindowExA(0, kNestingClass, "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

// The WM_CREATE hook exists only while a creation is under way, so that the messages of the running
// program do not pass through it; windows created inside another's creation are attached all the same.
TEST_F(SkinnedFrame, CreationHookOnlyWhileCreating) {
    EXPECT_NE(createHook, nullptr);
    EXPECT_EQ(createMessageHook, nullptr);

    refusal = Refusal::none;
    HWND outer = createNesting();
    ASSERT_NE(outer, nullptr);
    windows_.push_back(outer);
    EXPECT_EQ(createMessageHook, nullptr);
    for (HWND inner : {nestedInNcCreate, nestedInCreate, nestedCombo}) {
        ASSERT_NE(inner, nullptr);
        EXPECT_NE(getSkinProp(inner, prop::windowProc), 0) << windowClassName(inner);
    }
    EXPECT_EQ(classified[nestedInNcCreate], WindowKind::pushButton);
    EXPECT_EQ(classified[nestedInCreate], WindowKind::checkBox);
    EXPECT_EQ(classified[nestedCombo], WindowKind::comboBox);
    EXPECT_EQ(classified[outer], WindowKind::none);

    for (Refusal r : {Refusal::ncCreate, Refusal::create}) {
        SCOPED_TRACE(r == Refusal::ncCreate ? "refused in WM_NCCREATE" : "refused in WM_CREATE");
        refusal = r;
        EXPECT_EQ(createNesting(), nullptr);
        EXPECT_EQ(createMessageHook, nullptr);
    }
    refusal = Refusal::none;

    // And the next window is attached as ever.
    HWND after = form(kMainStyle, "after");
    EXPECT_EQ(GetWindowLongPtrA(after, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(skinFrameProc));
    EXPECT_EQ(createMessageHook, nullptr);
}

TEST_F(SkinnedFrame, LongTitleCutTo127Bytes) {
    const std::string title(200, 'a');
    HWND w = form(kMainStyle, title.c_str());
    EXPECT_EQ(captionCopy(w), title.substr(0, 127));
    HGLOBAL block = reinterpret_cast<HGLOBAL>(getSkinProp(w, prop::captionText));
    EXPECT_EQ(GlobalSize(block), 128u);
}

TEST_F(SkinnedFrame, MessageTableResultsAndWhatPassesOn) {
    HWND w = form(WS_OVERLAPPEDWINDOW, "table");
    ShowWindow(w, SW_SHOWNOACTIVATE);
    testpx::pumpMessages(50);
    RECT r;
    GetWindowRect(w, &r);
    const LPARAM onCaption = MAKELPARAM(r.left + 60, r.top + 15);
    HDC dc = GetDC(w);
    DRAWITEMSTRUCT menuItem{};
    menuItem.CtlType = ODT_MENU;
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        bool passedOn;
    };
    const Case cases[] = {
        {"non-client hit test", WM_NCHITTEST, 0, onCaption, HTCAPTION, false},
        {"message 174", 0x00AE, 0, 0, 0, false},
        {"non-client paint", WM_NCPAINT, 1, 0, 0, false},
        {"erase", WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0, 1, false},
        {"edit colours", WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), 0, reinterpret_cast<LRESULT>(editBrush), false},
        {"list colours", WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), 0, reinterpret_cast<LRESULT>(editBrush),
         false},
        {"static colours", WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0, reinterpret_cast<LRESULT>(staticBrush),
         false},
        {"activation (inactive)", WM_NCACTIVATE, 0, 0, 1, false},
        {"activation (active)", WM_NCACTIVATE, 1, 0, 0, false},
        {"activate (click)", WM_ACTIVATE, WA_CLICKACTIVE, 0, 0, false},
        {"non-client move off the buttons", WM_NCMOUSEMOVE, HTCAPTION, onCaption, 0, false},
        {"non-client release off the buttons", WM_NCLBUTTONUP, HTCAPTION, onCaption, 0, false},
        {"menu item drawing", WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&menuItem), -1, true},
        {"anything else", WM_USER + 7, 0, 0, -1, true},
    };
    for (const Case& c : cases) {
        seen[w].clear();
        const LRESULT result = SendMessageA(w, c.message, c.wParam, c.lParam);
        if (c.result != -1) {
            EXPECT_EQ(result, c.result) << c.name;
        }
        EXPECT_EQ(sawMessage(w, c.message), c.passedOn) << c.name;
    }
    // The colour requests leave transparent text in the skin's text colour.
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(GetTextColor(dc), skinPalette->textColor);
    ReleaseDC(w, dc);
    // A click activation stores 2; the painter treats it as active.
    EXPECT_EQ(getSkinProp(w, prop::activeState), 2);

    RECT rect{100, 100, 400, 300};
    seen[w].clear();
    EXPECT_EQ(SendMessageA(w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rect)), 0);
    EXPECT_FALSE(sawMessage(w, WM_NCCALCSIZE));
    EXPECT_EQ(rect.left, 103);
    EXPECT_EQ(rect.top, 131);
    EXPECT_EQ(rect.right, 397);
    EXPECT_EQ(rect.bottom, 295);
}

TEST_F(SkinnedFrame, ComboBoxListColourRequestFramesTheComboBox) {
    HWND w = form(kMainStyle, "combo");
    HWND combo = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 10, 120, 200, w,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND list = CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE, 10, 50, 120, 60, w, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    testpx::pumpMessages(100);
    RECT r;
    GetWindowRect(combo, &r);
    const int W = r.right - r.left, H = r.bottom - r.top;
    const COLORREF line = skinPalette->lineColor;
    HDC comboDC = GetDC(combo);
    EXPECT_EQ(SendMessageA(w, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(comboDC), 0),
              reinterpret_cast<LRESULT>(editBrush));
    ReleaseDC(combo, comboDC);
    HDC whole = GetWindowDC(combo);
    for (POINT p : {POINT{0, 0}, POINT{W / 2, 0}, POINT{W - 1, H / 2}, POINT{W / 2, H - 1}, POINT{0, H - 1}})
        EXPECT_EQ(GetPixel(whole, p.x, p.y), line) << p.x << ", " << p.y;
    EXPECT_NE(GetPixel(whole, W / 2, 1), line);
    ReleaseDC(combo, whole);
    // A list box's own request gets the colours and the brush, and no frame.
    GetWindowRect(list, &r);
    HDC listDC = GetDC(list);
    HDC listWhole = GetWindowDC(list);
    const COLORREF before = GetPixel(listWhole, 0, 0);
    EXPECT_EQ(SendMessageA(w, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(listDC), 0),
              reinterpret_cast<LRESULT>(editBrush));
    EXPECT_EQ(GetPixel(listWhole, 0, 0), before);
    ReleaseDC(list, listWhole);
    ReleaseDC(list, listDC);
}

TEST_F(SkinnedFrame, SizeKeepsTheRoundedShapeAndTheRestoreFlag) {
    HWND w = form(WS_OVERLAPPEDWINDOW, "size");
    SetWindowPos(w, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(w, shape), ERROR);
    RECT box;
    GetRgnBox(shape, &box);
    EXPECT_EQ(box.right, 320);
    EXPECT_EQ(box.bottom, 240);
    EXPECT_FALSE(PtInRegion(shape, 0, 0));
    EXPECT_FALSE(PtInRegion(shape, 319, 239));
    EXPECT_TRUE(PtInRegion(shape, 4, 4));
    EXPECT_TRUE(PtInRegion(shape, 160, 0));
    DeleteObject(shape);

    struct Step {
        WPARAM type;
        intptr_t flag;
    };
    for (const Step s : {Step{SIZE_MINIMIZED, 1}, Step{SIZE_RESTORED, 0}, Step{SIZE_MAXIMIZED, 1},
                         Step{SIZE_MAXSHOW, 1}, Step{SIZE_MAXHIDE, 1}, Step{SIZE_RESTORED, 0},
                         Step{SIZE_MAXSHOW, 0}}) {
        seen[w].clear();
        SendMessageA(w, WM_SIZE, s.type, MAKELPARAM(314, 204));
        EXPECT_EQ(getSkinProp(w, prop::restoreFlag), s.flag) << "size type " << s.type;
        EXPECT_TRUE(sawMessage(w, WM_SIZE));
    }

    // Without the full caption: no shape, no restore flag.
    HWND plain = form(WS_POPUP | WS_DLGFRAME, "plain");
    SetWindowPos(plain, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(plain, WM_SIZE, SIZE_MINIMIZED, 0);
    HRGN none = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(plain, none), ERROR);
    DeleteObject(none);
    EXPECT_EQ(getSkinProp(plain, prop::restoreFlag), 0);
}

TEST_F(SkinnedFrame, SetTextRewritesTheCaptionCopy) {
    HWND w = form(kMainStyle, "旧标题");
    HGLOBAL block = reinterpret_cast<HGLOBAL>(getSkinProp(w, prop::captionText));
    EXPECT_TRUE(SetWindowTextA(w, "新的标题 & more"));
    EXPECT_EQ(captionCopy(w), "新的标题 & more");
    EXPECT_EQ(getSkinProp(w, prop::captionText), reinterpret_cast<intptr_t>(block));  // same block, resized
    char text[64] = {};
    GetWindowTextA(w, text, sizeof(text));
    EXPECT_STREQ(text, "新的标题 & more");
    SetWindowTextA(w, "");
    EXPECT_EQ(captionCopy(w), "");
    EXPECT_EQ(GlobalSize(block), 1u);
    SendMessageA(w, WM_SETTEXT, 0, 0);
    EXPECT_EQ(captionCopy(w), "");
    // A window without a caption keeps its copy too.
    HWND plain = form(WS_POPUP | WS_DLGFRAME, "plain");
    SetWindowTextA(plain, "still kept");
    EXPECT_EQ(captionCopy(plain), "still kept");
}

TEST_F(SkinnedFrame, CaptionButtonStateMachine) {
    HWND w = form(WS_OVERLAPPEDWINDOW, "buttons");
    ShowWindow(w, SW_SHOWNOACTIVATE);
    testpx::pumpMessages(50);
    auto states = [w] { return readButtonStates(w); };
    auto posted = [w](UINT message) {
        MSG msg;
        return PeekMessageA(&msg, w, message, message, PM_REMOVE) != FALSE;
    };

    // Press minimize, slide to close, release there: nothing is posted.
    EXPECT_EQ(SendMessageA(w, WM_NCLBUTTONDOWN, HTMINBUTTON, 0), 0);
    EXPECT_EQ(states(), (ButtonStates{2, 0, 0}));
    SendMessageA(w, WM_NCMOUSEMOVE, HTCLOSE, 0);
    EXPECT_EQ(states(), (ButtonStates{0, 0, 1}));
    EXPECT_EQ(getSkinProp(w, prop::timerState), 1);
    SendMessageA(w, WM_NCLBUTTONUP, HTCLOSE, 0);
    EXPECT_EQ(states(), (ButtonStates{0, 0, 1}));
    EXPECT_FALSE(posted(WM_CLOSE));
    EXPECT_FALSE(posted(WM_SYSCOMMAND));

    // Press and release on close: WM_CLOSE itself is posted, and the button shows hover.
    SendMessageA(w, WM_NCLBUTTONDOWN, HTCLOSE, 0);
    EXPECT_EQ(states().close, 2);
    SendMessageA(w, WM_NCLBUTTONUP, HTCLOSE, 0);
    EXPECT_EQ(states().close, 1);
    EXPECT_TRUE(posted(WM_CLOSE));

    // A double-click on a slot presses it like a press; minimize posts SC_MINIMIZE.
    EXPECT_EQ(SendMessageA(w, WM_NCLBUTTONDBLCLK, HTMINBUTTON, 0), 0);
    EXPECT_EQ(states().minimize, 2);
    SendMessageA(w, WM_NCLBUTTONUP, HTMINBUTTON, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(SC_MINIMIZE));
    // Maximize posts SC_MAXIMIZE, and SC_RESTORE once the window is maximized.
    SendMessageA(w, WM_NCLBUTTONDOWN, HTMAXBUTTON, 0);
    SendMessageA(w, WM_NCLBUTTONUP, HTMAXBUTTON, 0);
    ASSERT_TRUE(PeekMessageA(&msg, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(SC_MAXIMIZE));
    ShowWindow(w, SW_MAXIMIZE);
    EXPECT_EQ(getSkinProp(w, prop::restoreFlag), 1);
    SendMessageA(w, WM_NCLBUTTONDOWN, HTMAXBUTTON, 0);
    SendMessageA(w, WM_NCLBUTTONUP, HTMAXBUTTON, 0);
    ASSERT_TRUE(PeekMessageA(&msg, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(SC_RESTORE));
    ShowWindow(w, SW_RESTORE);
    EXPECT_EQ(getSkinProp(w, prop::restoreFlag), 0);

    // Moving onto the caption stops the timer and clears the live slots.
    SendMessageA(w, WM_NCMOUSEMOVE, HTMAXBUTTON, 0);
    EXPECT_EQ(states(), (ButtonStates{0, 1, 0}));
    SendMessageA(w, WM_NCMOUSEMOVE, HTCAPTION, 0);
    EXPECT_EQ(states(), (ButtonStates{0, 0, 0}));
    EXPECT_EQ(getSkinProp(w, prop::timerState), 0);

    // The hover timer notices a pointer that left without a non-client move.
    SetCursorPos(5, 1000);
    SendMessageA(w, WM_NCMOUSEMOVE, HTCLOSE, 0);
    EXPECT_EQ(states().close, 1);
    testpx::pumpMessages(450);
    EXPECT_EQ(states().close, 0);
    EXPECT_EQ(getSkinProp(w, prop::timerState), 0);
}

TEST_F(SkinnedFrame, UnavailableSlotsNeverChange) {
    HWND w = form(kMainStyle, "close only");
    SendMessageA(w, WM_NCMOUSEMOVE, HTMINBUTTON, 0);
    EXPECT_EQ(readButtonStates(w), (ButtonStates{3, 3, 0}));
    SendMessageA(w, WM_NCMOUSEMOVE, HTCAPTION, 0);
    SendMessageA(w, WM_NCLBUTTONUP, HTMINBUTTON, 0);
    EXPECT_EQ(readButtonStates(w), (ButtonStates{3, 3, 0}));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
}

namespace {

struct DialogVisit {
    HWND dialog = nullptr;
    LONG_PTR proc = 0;
    intptr_t captionBar = 0;
    int pushButtons = 0, pushButtonsClassified = 0, edits = 0, combos = 0;
    DWORD started = 0;
    bool timedOut = false;
};
DialogVisit visit;

BOOL CALLBACK findDialog(HWND window, LPARAM) {
    if (IsWindowVisible(window) && windowClassName(window) == "#32770") {
        visit.dialog = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK countChild(HWND child, LPARAM) {
    const auto it = classified.find(child);
    const WindowKind kind = it == classified.end() ? WindowKind::none : it->second;
    const std::string name = windowClassName(child);
    const LONG type = GetWindowLongA(child, GWL_STYLE) & 15;
    // A push button the skin took over is owner-drawn by now.
    const bool skinnedPush = type == BS_OWNERDRAW && kind == WindowKind::pushButton;
    if (name == "Button" && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || skinnedPush)) {
        ++visit.pushButtons;
        visit.pushButtonsClassified += kind == WindowKind::pushButton;
    }
    visit.edits += kind == WindowKind::editBox;
    visit.combos += kind == WindowKind::comboBox;
    return TRUE;
}

// Runs inside the dialog's modal loop: looks at the dialog once it is up, then cancels it.
void CALLBACK inspectDialog(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), findDialog, 0);
    if (!visit.dialog) {
        if (GetTickCount() - visit.started < 30000) return;
        visit.timedOut = true;
        return;
    }
    static bool done = false;
    if (done) return;
    done = true;
    visit.proc = GetWindowLongPtrA(visit.dialog, GWLP_WNDPROC);
    visit.captionBar = getSkinProp(visit.dialog, prop::captionBar);
    EnumChildWindows(visit.dialog, countChild, 0);
    PostMessageA(visit.dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

TEST_F(SkinnedFrame, SaveDialogGetsTheSkin) {
    char file[MAX_PATH] = "证书";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = mainWindow().window;
    ofn.lpstrFilter = "PNG 图片\0*.png\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT;
    visit.started = GetTickCount();
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, inspectDialog);
    GetSaveFileNameA(&ofn);
    KillTimer(nullptr, timer);
    ASSERT_FALSE(visit.timedOut) << "the save dialog did not show up";
    ASSERT_NE(visit.dialog, nullptr);
    EXPECT_EQ(visit.proc, reinterpret_cast<LONG_PTR>(skinFrameProc));
    EXPECT_EQ(visit.captionBar, 1);
    EXPECT_GE(visit.pushButtons, 2);
    EXPECT_EQ(visit.pushButtonsClassified, visit.pushButtons);
    EXPECT_GE(visit.edits, 1);
    EXPECT_GE(visit.combos, 1);
    // The dialog's end left the skin running.
    EXPECT_NE(createHook, nullptr);
    EXPECT_NE(atlasDC, nullptr);
}

TEST_F(SkinnedFrame, DestroyingAnotherSkinnedWindowKeepsTheSkin) {
    HWND w = form(kMainStyle, "dialog-like");
    seen[w].clear();
    DestroyWindow(w);
    EXPECT_TRUE(sawMessage(w, WM_DESTROY));
    EXPECT_NE(createHook, nullptr);
    EXPECT_NE(atlasDC, nullptr);
}

// Last: the main window's end takes the hook and the atlas with it.
TEST_F(SkinnedFrame, ZMainWindowDestroyRemovesTheHook) {
    HWND main = mainWindow().window;
    HWND survivor = form(kMainStyle, "survivor");
    DestroyWindow(main);
    EXPECT_EQ(createHook, nullptr);
    EXPECT_EQ(createMessageHook, nullptr);
    EXPECT_EQ(atlasDC, nullptr);
    HWND later = form(kMainStyle, "after the end");
    EXPECT_EQ(GetWindowLongPtrA(later, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(formProc));
    EXPECT_EQ(getSkinProp(later, prop::windowProc), 0);
    // A skinned window still alive paints nothing rather than reading a deleted atlas.
    EXPECT_EQ(GetWindowLongPtrA(survivor, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(skinFrameProc));
    EXPECT_EQ(SendMessageA(survivor, WM_NCPAINT, 1, 0), 0);
    EXPECT_EQ(SendMessageA(survivor, WM_ERASEBKGND, 0, 0), 1);
}
