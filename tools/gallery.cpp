// Skin gallery: one skinned form window showing every control kind the skin draws, in its states,
// so that a person can look at all of them at once and tests can drive them by id.
//
//   gallery                 shows the gallery
//   gallery rect ID         screen rectangle of a control of the running gallery ("left top right bottom")
//   gallery text ID         its text, UTF-8
//   gallery check ID        its check state as the skin answers BM_GETCHECK
//   gallery stop            closes the running gallery
// The query forms wait up to ten seconds for the gallery to appear; exit status 1 when it does not.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "skin/skin.h"
#include "tools/gallery_ids.h"

namespace {

namespace id = galleryids;

constexpr int kClientWidth = 944;
constexpr int kClientHeight = 424;
constexpr int kColumnWidth = 220;
constexpr int kGap = 12;
constexpr UINT_PTR kMoveTimer = 1;
constexpr DWORD kLabelLeft = BS_LEFT | BS_VCENTER;

HFONT galleryFont = nullptr;
HWND statusLine = nullptr;

int columnLeft(int column) { return kGap + column * (kColumnWidth + kGap); }

HWND add(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int ctrlId,
         DWORD exStyle = 0) {
    HWND control = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctrlId)), GetModuleHandleA(nullptr),
                                   nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(galleryFont), FALSE);
    return control;
}

// Group boxes come first so that they lie under their controls; fitGroup sets the height once the
// controls are placed.
HWND group(HWND parent, const char* text, int column, int top, int ctrlId) {
    return add(parent, "Button", text, BS_GROUPBOX, columnLeft(column), top, kColumnWidth, 40, ctrlId);
}
void fitGroup(HWND box, int top, int bottom) {
    SetWindowPos(box, nullptr, 0, 0, kColumnWidth, bottom - top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void addPushButtons(HWND form) {
    const int x = columnLeft(0) + 10, w = kColumnWidth - 20;
    int y = 26;
    HWND box = group(form, "按钮 Push buttons", 0, 6, id::groupPush);
    auto push = [&](const char* text, DWORD style, int ctrlId, int h = 26) {
        HWND b = add(form, "Button", text, style | WS_TABSTOP, x, y, w, h, ctrlId);
        y += h + 8;
        return b;
    };
    push("普通 Normal", BS_PUSHBUTTON, id::pushNormal);
    push("默认 Default", BS_DEFPUSHBUTTON, id::pushDefault);
    push("禁用 Disabled", BS_PUSHBUTTON | WS_DISABLED, id::pushDisabled);
    push("靠左 Left", BS_PUSHBUTTON | BS_LEFT, id::pushLeft);
    push("靠右 Right", BS_PUSHBUTTON | BS_RIGHT, id::pushRight);
    push("靠上 Top", BS_PUSHBUTTON | BS_TOP, id::pushTop, 38);
    push("靠下 Bottom", BS_PUSHBUTTON | BS_BOTTOM, id::pushBottom, 38);
    push("保存(&S) Save", BS_PUSHBUTTON, id::pushAmpersand);
    fitGroup(box, 6, y + 2);
}

void addChecksAndRadios(HWND form) {
    const int x = columnLeft(1) + 10, w = kColumnWidth - 20;
    int y = 26;
    HWND box = group(form, "复选框 Check boxes", 1, 6, id::groupCheck);
    auto check = [&](const char* text, DWORD style, int ctrlId, bool set) {
        HWND c = add(form, "Button", text, style | WS_TABSTOP, x, y, w, 20, ctrlId);
        // Set before the skin attaches: it takes the platform's state at that moment.
        if (set) SendMessageA(c, BM_SETCHECK, BST_CHECKED, 0);
        y += 24;
    };
    check("已选 Set", BS_AUTOCHECKBOX | kLabelLeft, id::checkSet, true);
    check("未选 Clear", BS_AUTOCHECKBOX | kLabelLeft, id::checkClear, false);
    check("禁用已选 Disabled, set", BS_AUTOCHECKBOX | kLabelLeft | WS_DISABLED, id::checkDisabledSet, true);
    check("禁用未选 Disabled, clear", BS_AUTOCHECKBOX | kLabelLeft | WS_DISABLED, id::checkDisabledClear, false);
    check("文字在左 Left text", BS_AUTOCHECKBOX | BS_LEFTTEXT | BS_RIGHT | BS_VCENTER, id::checkLeftText, true);
    fitGroup(box, 6, y + 2);

    // Two group boxes of one parent: the skin groups radio buttons by parent, so they clear each other.
    y += 14;
    const int groupATop = y;
    box = group(form, "单选甲组 Radio group A", 1, y, id::groupRadioA);
    y += 20;
    check("甲一 A1, set", BS_AUTORADIOBUTTON | kLabelLeft | WS_GROUP, id::radioA1, true);
    check("甲二 A2", BS_AUTORADIOBUTTON | kLabelLeft, id::radioA2, false);
    check("甲三 A3, disabled, set", BS_AUTORADIOBUTTON | kLabelLeft | WS_DISABLED, id::radioA3Disabled, true);
    // Common controls 6 clear the other automatic radio buttons of a group when one is set, so
    // setting 甲三 has just cleared 甲一; set 甲一 again (that leaves the disabled 甲三 alone).
    SendMessageA(GetDlgItem(form, id::radioA1), BM_SETCHECK, BST_CHECKED, 0);
    fitGroup(box, groupATop, y + 2);
    y += 14;
    const int groupBTop = y;
    box = group(form, "单选乙组 Radio group B", 1, y, id::groupRadioB);
    y += 20;
    check("乙一 B1", BS_AUTORADIOBUTTON | kLabelLeft | WS_GROUP, id::radioB1, false);
    check("乙二 B2, left text", BS_AUTORADIOBUTTON | BS_LEFTTEXT | BS_RIGHT | BS_VCENTER, id::radioB2LeftText, false);
    check("乙三 B3, disabled", BS_AUTORADIOBUTTON | kLabelLeft | WS_DISABLED, id::radioB3Disabled, false);
    fitGroup(box, groupBTop, y + 2);
}

void addDropDownsAndEdits(HWND form) {
    const int x = columnLeft(2) + 10, w = kColumnWidth - 20;
    int y = 26;
    HWND box = group(form, "下拉按钮 Drop-down buttons", 2, 6, id::groupDropDown);
    auto dropDown = [&](const char* text, int h, int ctrlId, DWORD extra = 0) {
        add(form, "Button", text, BS_OWNERDRAW | WS_TABSTOP | extra, x, y, w, h, ctrlId);
        y += h + 6;
    };
    dropDown("下拉 24 high", 24, id::dropDown24);
    dropDown("下拉 21 high", 21, id::dropDown21);
    dropDown("下拉 16 high", 16, id::dropDown16);
    dropDown("禁用 Disabled", 24, id::dropDownDisabled, WS_DISABLED);
    fitGroup(box, 6, y + 4);

    y += 18;
    const int editTop = y;
    box = group(form, "编辑框 Edit boxes", 2, y, id::groupEdit);
    y += 20;
    auto edit = [&](const char* text, DWORD style, DWORD exStyle, int h, int ctrlId) {
        add(form, "Edit", text, style | WS_TABSTOP, x, y, w, h, ctrlId, exStyle);
        y += h + 6;
    };
    edit("凹边 Sunken edge", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 22, id::editSunken);
    edit("细边 WS_BORDER", ES_AUTOHSCROLL | WS_BORDER, 0, 20, id::editBorder);
    edit("无边 No border", ES_AUTOHSCROLL, 0, 18, id::editPlain);
    edit("禁用 Disabled", ES_AUTOHSCROLL | WS_DISABLED, WS_EX_CLIENTEDGE, 22, id::editDisabled);
    edit("竖滚动条 Vertical scroll bar\r\n第二行 line 2\r\n第三行 line 3\r\n第四行 line 4", ES_MULTILINE | WS_VSCROLL,
         WS_EX_CLIENTEDGE, 50, id::editVScroll);
    edit("横滚动条 Horizontal scroll bar, a line long enough to scroll", ES_MULTILINE | WS_HSCROLL | ES_AUTOHSCROLL,
         WS_EX_CLIENTEDGE, 42, id::editHScroll);
    fitGroup(box, editTop, y + 4);
}

void addCombosAndProgress(HWND form) {
    const int x = columnLeft(3) + 10, w = kColumnWidth - 20;
    int y = 26;
    HWND box = group(form, "组合框 Combo boxes", 3, 6, id::groupCombo);
    auto combo = [&](DWORD style, int h, int listHeight, int ctrlId, const char* first) {
        HWND c = add(form, "ComboBox", "", style | WS_TABSTOP | WS_VSCROLL, x, y, w, listHeight, ctrlId);
        for (const char* item : {first, "证书模板 Template", "奖状 Award", "聘书 Letter"})
            SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageA(c, CB_SETCURSEL, 0, 0);
        y += h + 6;
    };
    combo(CBS_SIMPLE | CBS_NOINTEGRALHEIGHT, 74, 74, id::comboSimple, "简单 CBS_SIMPLE");
    combo(CBS_DROPDOWN, 24, 140, id::comboDropDown, "可编辑 CBS_DROPDOWN");
    combo(CBS_DROPDOWNLIST, 24, 140, id::comboDropDownList, "列表 CBS_DROPDOWNLIST");
    combo(CBS_DROPDOWNLIST | WS_DISABLED, 24, 140, id::comboDisabled, "禁用 Disabled");
    fitGroup(box, 6, y + 4);

    y += 18;
    const int progressTop = y;
    box = group(form, "进度条 Progress bars", 3, y, id::groupProgress);
    y += 22;
    auto progress = [&](DWORD style, int px, int py, int pw, int ph, int position, int ctrlId) {
        HWND p = add(form, PROGRESS_CLASSA, "", style, px, py, pw, ph, ctrlId);
        SendMessageA(p, PBM_SETRANGE32, 0, 100);
        SendMessageA(p, PBM_SETPOS, position, 0);
    };
    const int barWidth = w - 56;
    progress(0, x, y, barWidth, 20, 50, id::progressBlocks);
    progress(PBS_SMOOTH, x, y + 28, barWidth, 20, 75, id::progressSmooth);
    progress(0, x, y + 56, barWidth, 20, 0, id::progressMoving);
    progress(PBS_VERTICAL, x + barWidth + 8, y, 20, 76, 40, id::progressVertical);
    progress(PBS_VERTICAL | PBS_SMOOTH, x + barWidth + 32, y, 20, 76, 70, id::progressVerticalSmooth);
    y += 84;
    fitGroup(box, progressTop, y);
}

// The owner's own drawing of a drop-down button: a white field and the text left of the arrow box.
// Reading the text makes the skin lay its frame and arrow box over the button.
void drawDropDownFace(const DRAWITEMSTRUCT& record) {
    RECT field = record.rcItem;
    field.left += 2;
    field.top += 2;
    field.right -= 19;
    field.bottom -= 2;
    FillRect(record.hDC, &field, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    char text[64] = {};
    GetWindowTextA(record.hwndItem, text, sizeof(text));
    field.left += 4;
    SetBkMode(record.hDC, TRANSPARENT);
    SetTextColor(record.hDC, (record.itemState & ODS_DISABLED) ? RGB(128, 128, 128) : RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(record.hDC, galleryFont);
    DrawTextA(record.hDC, text, -1, &field, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    SelectObject(record.hDC, old);
}

void showStatus(const char* text) { SetWindowTextA(statusLine, text); }

LRESULT CALLBACK galleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM: {
            const auto& record = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (record.CtlType == ODT_BUTTON && record.CtlID >= id::dropDown24 && record.CtlID <= id::dropDownDisabled) {
                drawDropDownFace(record);
                return TRUE;
            }
            break;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && lParam) {
                char text[96], label[64] = {};
                GetWindowTextA(reinterpret_cast<HWND>(lParam), label, sizeof(label));
                std::snprintf(text, sizeof(text), "点击 Clicked %u: %s", LOWORD(wParam), label);
                showStatus(text);
            }
            break;
        case WM_TIMER:
            if (wParam == kMoveTimer) {
                HWND bar = GetDlgItem(window, id::progressMoving);
                const auto position = SendMessageA(bar, PBM_GETPOS, 0, 0);
                SendMessageA(bar, PBM_SETPOS, (position + 2) % 102, 0);
                return 0;
            }
            break;
        case WM_DESTROY:
            KillTimer(window, kMoveTimer);
            PostQuitMessage(0);
            return 0;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createGallery() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExA(GetModuleHandleA(nullptr), formWindowClass, &wc)) {
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = galleryProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        wc.lpszClassName = formWindowClass;
        RegisterClassExA(&wc);
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    HWND form = CreateWindowExA(0, formWindowClass, galleryTitle, style, 40, 40, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    // Children whose procedure is the form's own: the form's class may already exist with another one.
    SetWindowLongPtrA(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&galleryProc));
    return form;
}

// Queries against a running gallery, for the end-to-end runs.
int driveRunningGallery(const std::string& command, int ctrlId) {
    // Lines end in "\n" alone: the scripts compare the answers, which a text-mode "\r" would spoil.
    _setmode(_fileno(stdout), _O_BINARY);
    HWND form = nullptr;
    for (int i = 0; i < 200 && !form; ++i) {
        form = FindWindowA(formWindowClass, galleryTitle);
        if (form && !IsWindowVisible(form)) form = nullptr;  // shown once skinned and laid out
        if (!form) Sleep(50);
    }
    if (!form) return 1;
    if (command == "stop") {
        PostMessageA(form, WM_CLOSE, 0, 0);
        return 0;
    }
    HWND control = GetDlgItem(form, ctrlId);
    if (!control) return 1;
    if (command == "rect") {
        RECT r;
        GetWindowRect(control, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    } else if (command == "text") {
        wchar_t wide[256] = {};
        SendMessageW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(wide));
        char utf8[768] = {};
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof(utf8), nullptr, nullptr);
        std::printf("%s\n", utf8);
    } else if (command == "check") {
        std::printf("%ld\n", static_cast<long>(SendMessageA(control, BM_GETCHECK, 0, 0)));
    } else {
        return 1;
    }
    std::fflush(stdout);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    if (commandLine && *commandLine) {
        char command[16] = {};
        int ctrlId = 0;
        std::sscanf(commandLine, "%15s %d", command, &ctrlId);
        return driveRunningGallery(command, ctrlId);
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    allocateSkinTables();
    galleryFont = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "宋体");

    HWND form = createGallery();
    addPushButtons(form);
    addChecksAndRadios(form);
    addDropDownsAndEdits(form);
    addCombosAndProgress(form);
    statusLine = add(form, "Static", "点击任一控件 Click any control", SS_LEFT, columnLeft(0), kClientHeight - 24,
                     kClientWidth - 2 * kGap, 18, id::status);

    // The skin takes over the form and its children as the program's own start-up does.
    SkinPalette unused{};
    skinStart(form, unused, false);
    ShowWindow(form, SW_SHOW);
    UpdateWindow(form);
    SetTimer(form, kMoveTimer, 120, nullptr);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(form, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DeleteObject(galleryFont);
    releaseSkinTables();
    return 0;
}
