#include "app/mainwindow.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <memory>

#include "app/catalogue.h"
#include "app/composer.h"
#include "app/export.h"
#include "app/forms.h"
#include "assets/resource.h"
#include "skin/skin.h"

HWND mainWindow = nullptr;

namespace {

constexpr char focusProp[] = "Form.焦点";  // the child that had the keyboard focus last

HINSTANCE moduleInstance() { return GetModuleHandleA(nullptr); }

HWND createControl(HWND parent, const FormEntry& c) {
    const auto menuId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id));
    const auto guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND control = nullptr;
    switch (c.kind) {
    case ControlKind::TransparentLabel: {
        HFONT own = createLabelFont(c.font);
        return createTransparentLabel(parent, c.id, c.x, c.y, c.width, c.height, c.text, own ? own : guiFont,
                                      own != nullptr, c.textColor, c.centred);
    }
    case ControlKind::PictureBox:
        return createPictureBox(parent, c.id, c.x, c.y, c.width, c.height);
    case ControlKind::ListBox:
        control = CreateWindowExA(WS_EX_CLIENTEDGE, "ListBox", c.text,
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_NOTIFY |
                                      LBS_NOINTEGRALHEIGHT,
                                  c.x, c.y, c.width, c.height, parent, menuId, moduleInstance(), nullptr);
        break;
    case ControlKind::EditBox:
        control = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", c.text,
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, c.x, c.y, c.width,
                                  c.height, parent, menuId, moduleInstance(), nullptr);
        break;
    case ControlKind::PushButton:
        control = CreateWindowExA(0, "Button", c.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON,
                                  c.x, c.y, c.width, c.height, parent, menuId, moduleInstance(), nullptr);
        break;
    }
    if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);
    return control;
}

bool isPushButtonId(int id) {
    return id == ids::changePhotoButton || id == ids::previewButton || id == ids::saveButton;
}

void onFormCommand(HWND window, int id, int code, HWND control) {
    switch (id) {
    case IDCANCEL:  // Esc, through the dialog keyboard handling of the message loop
        PostMessageA(window, WM_CLOSE, 0, 0);
        return;
    case IDOK: {  // Enter: presses the focused button, otherwise nothing
        HWND focus = GetFocus();
        const int focusId = focus && IsChild(window, focus) ? GetDlgCtrlID(focus) : 0;
        if (isPushButtonId(focusId) && IsWindowEnabled(focus))
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(focusId, BN_CLICKED), reinterpret_cast<LPARAM>(focus));
        return;
    }
    case ids::templateList:
        if (code == LBN_SELCHANGE) onTemplateSelected();
        return;
    case ids::changePhotoButton:
        if (code == BN_CLICKED) onChangePhotoClicked();
        return;
    case ids::previewButton:
        if (code == BN_CLICKED) onPreviewClicked();
        return;
    case ids::saveButton:
        if (code == BN_CLICKED) onSaveClicked();
        return;
    }
    (void)control;
}

// Focus movement asked for by the dialog keyboard handling (Tab, Shift+Tab, arrows).
void moveFocus(HWND window, WPARAM wParam, LPARAM lParam) {
    HWND target = nullptr;
    if (LOWORD(lParam)) {
        target = reinterpret_cast<HWND>(wParam);
    } else {
        HWND current = GetFocus();
        if (current && !IsChild(window, current)) current = nullptr;
        target = GetNextDlgTabItem(window, current, wParam != 0);
    }
    if (!target) return;
    SetFocus(target);
    if (SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(target, EM_SETSEL, 0, -1);
}

void restoreFocus(HWND window) {
    auto last = static_cast<HWND>(GetPropA(window, focusProp));
    if (!last || !IsChild(window, last) || !IsWindowVisible(last) || !IsWindowEnabled(last))
        last = GetNextDlgTabItem(window, nullptr, FALSE);
    if (last) SetFocus(last);
}

LRESULT CALLBACK formWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onFormCommand(window, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NEXTDLGCTL:
        moveFocus(window, wParam, lParam);
        return 0;
    case WM_SETFOCUS:
        restoreFocus(window);
        return 0;
    case WM_PRINTCLIENT:  // the form draws nothing besides its background
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (window == mainWindow) PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        RemovePropA(window, focusProp);
        if (window == mainWindow) mainWindow = nullptr;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void registerMainWindowClass(HINSTANCE instance) {
    registerFormClasses(instance);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExA(instance, formWindowClass, &wc)) return;
    wc.lpfnWndProc = formWindowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_CERTIVEX), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_CERTIVEX), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = formWindowClass;
    RegisterClassExA(&wc);
}

HWND createMainWindow(HINSTANCE instance) {
    registerMainWindowClass(instance);
    const int x = centredOrigin(GetSystemMetrics(SM_CXSCREEN), mainWindowWidth);
    const int y = centredOrigin(GetSystemMetrics(SM_CYSCREEN), mainWindowHeight);
    HWND window = CreateWindowExA(WS_EX_APPWINDOW, formWindowClass, mainWindowCaption, mainWindowStyle, x, y,
                                  mainWindowWidth, mainWindowHeight, nullptr, nullptr, instance, nullptr);
    if (!window) return nullptr;
    mainWindow = window;

    // Big and small icon set on the window itself: the skin reads them with WM_GETICON.
    auto icon = [&](int w, int h) {
        return reinterpret_cast<LPARAM>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_CERTIVEX), IMAGE_ICON,
                                                   GetSystemMetrics(w), GetSystemMetrics(h), LR_SHARED));
    };
    SendMessageA(window, WM_SETICON, ICON_BIG, icon(SM_CXICON, SM_CYICON));
    SendMessageA(window, WM_SETICON, ICON_SMALL, icon(SM_CXSMICON, SM_CYSMICON));

    HWND view = nullptr;
    for (const auto& entry : formControls) {
        HWND parent = entry.parent == ControlParent::MainWindow ? window : view;
        if (!parent) continue;
        HWND control = createControl(parent, entry);
        if (entry.id == ids::certificateView) view = control;
    }
    setPictureBytes(view, resourceBytes(IDR_DEFAULT_TEMPLATE));
    setPictureBytes(formControl(ids::photoBox), resourceBytes(IDR_DEFAULT_PHOTO));
    return window;
}

HWND formControl(int id) {
    if (!mainWindow) return nullptr;
    const FormEntry* entry = findFormEntry(id);
    if (!entry) return nullptr;
    if (entry->parent == ControlParent::MainWindow) return GetDlgItem(mainWindow, id);
    return GetDlgItem(GetDlgItem(mainWindow, ids::certificateView), id);
}

void onWindowCreated() {
    HWND window = mainWindow;
    auto palette = std::make_unique<SkinPalette>();  // every colour 0: the skin takes its own colours
    skinStart(window, *palette, false);
    palette.reset();
    startTemplateListing(formControl(ids::templateList));
    seedRandom(GetTickCount());
}

namespace {

// A character beyond ASCII: a GBK byte of WM_CHAR, or a whole character of WM_IME_CHAR.
bool isWideCharacter(const MSG& msg) {
    return (msg.message == WM_CHAR || msg.message == WM_IME_CHAR) && msg.wParam >= 0x80;
}

}  // namespace

void processFormMessage(const MSG& msg) {
    if (HWND window = mainWindow) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) SetPropA(window, focusProp, focus);
        // Chinese characters go straight to their window: the dialog manager's 8-bit entry (Wine's,
        // at least) converts each GBK byte on its own and delivers "?" for it. Dialog navigation
        // (Tab, Enter, Esc, mnemonics) only ever needs ASCII.
        if (!isWideCharacter(msg) && IsDialogMessageA(window, const_cast<MSG*>(&msg))) return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

int runProgram(HINSTANCE instance) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // picture decoding and the file dialogs
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    SetCurrentDirectoryA(programDirectory().c_str());

    allocateSkinTables();
    std::atexit(releaseSkinTables);

    if (!createMainWindow(instance)) return 1;
    onWindowCreated();
    ShowWindow(mainWindow, SW_SHOW);
    UpdateWindow(mainWindow);
    restoreFocus(mainWindow);

    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) processFormMessage(msg);
    CoUninitialize();
    return static_cast<int>(msg.wParam);
}
