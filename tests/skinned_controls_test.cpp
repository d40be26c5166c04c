// The whole path: a form window of the program's class with the controls as children, skinStart,
// then real messages. Draw-item requests go through the skinned frame procedure to the painters,
// clicks still reach the form, and controls created later are skinned by the creation hook.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "controls_fixture.h"
#include "skin/frame.h"

using ctltest::nearColour;
using ctltest::sameColour;

namespace {

enum : int {
    kPush = 10, kDefault, kCheck, kRadioA1, kRadioA2, kRadioB1, kRadioLocked, kDropDown, kEdit, kCombo, kProgress,
    kGroupA, kGroupB, kLateCheck, kLatePush,
};

std::vector<int> formClicks;
int ownerDraws = 0;

// The form's own procedure: counts clicks and draws the drop-down button's face as its owner,
// reading the text first (which lays the skin's decoration) and then drawing the field.
LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) formClicks.push_back(LOWORD(wParam));
    if (message == WM_DRAWITEM && wParam == kDropDown) {
        const auto& record = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        char text[32];
        GetWindowTextA(record.hwndItem, text, sizeof(text));
        RECT field{2, 2, record.rcItem.right - 19, record.rcItem.bottom - 2};
        FillRect(record.hDC, &field, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ++ownerDraws;
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND form = nullptr;
HWND child(int id) { return GetDlgItem(form, id); }

class SkinnedControls : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (form) return;
        WNDCLASSA wc{};
        wc.lpfnWndProc = formProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = formWindowClass;
        RegisterClassA(&wc);
        form = CreateWindowExA(0, formWindowClass, "controls", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 30, 30, 460,
                               300, nullptr, nullptr, wc.hInstance, nullptr);
        auto add = [](const char* cls, const char* text, DWORD style, RECT r, int id) {
            return ctltest::createControl(form, cls, text, style, r, id);
        };
        add("Button", "普通", BS_PUSHBUTTON, {10, 10, 106, 34}, kPush);
        add("Button", "默认", BS_DEFPUSHBUTTON, {10, 40, 106, 64}, kDefault);
        add("Button", "复选", BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER, {10, 70, 110, 90}, kCheck);
        add("Button", "甲", BS_GROUPBOX, {120, 5, 230, 90}, kGroupA);
        add("Button", "甲一", BS_AUTORADIOBUTTON | WS_GROUP | BS_LEFT | BS_VCENTER, {125, 20, 225, 40}, kRadioA1);
        add("Button", "甲二", BS_AUTORADIOBUTTON | BS_LEFT | BS_VCENTER, {125, 45, 225, 65}, kRadioA2);
        add("Button", "乙", BS_GROUPBOX | WS_GROUP, {240, 5, 350, 90}, kGroupB);
        add("Button", "乙一", BS_AUTORADIOBUTTON | WS_GROUP | BS_LEFT | BS_VCENTER, {245, 20, 345, 40}, kRadioB1);
        HWND locked = add("Button", "乙二", BS_AUTORADIOBUTTON | WS_DISABLED | BS_LEFT | BS_VCENTER, {245, 45, 345, 65},
                          kRadioLocked);
        SendMessageA(locked, BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(child(kRadioA1), BM_SETCHECK, BST_CHECKED, 0);
        add("Button", "下拉", BS_OWNERDRAW, {10, 100, 110, 124}, kDropDown);
        ctltest::createControl(form, "Edit", "编辑", ES_AUTOHSCROLL, {120, 100, 230, 124}, kEdit, WS_EX_CLIENTEDGE);
        add("ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL, {240, 100, 360, 240}, kCombo);
        add(PROGRESS_CLASSA, "", 0, {10, 140, 210, 160}, kProgress);

        ctltest::defaultPalette();
        skinStart(form, SkinPalette{}, false);
        ShowWindow(form, SW_SHOW);
        UpdateWindow(form);
        testpx::pumpMessages(100);
    }
    void SetUp() override {
        palette = skinPalette;
        formClicks.clear();
        pushHoverFlag = false;
    }
    SkinPalette* palette = nullptr;
};

TEST_F(SkinnedControls, EveryControlGetsItsProcedure) {
    auto procOf = [](int id) { return GetWindowLongPtrA(child(id), GWLP_WNDPROC); };
    EXPECT_EQ(GetWindowLongPtrA(form, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&skinFrameProc));
    EXPECT_EQ(procOf(kPush), reinterpret_cast<LONG_PTR>(&pushButtonProc));
    EXPECT_EQ(procOf(kDefault), reinterpret_cast<LONG_PTR>(&pushButtonProc));
    EXPECT_EQ(procOf(kCheck), reinterpret_cast<LONG_PTR>(&checkBoxProc));
    EXPECT_EQ(procOf(kRadioA1), reinterpret_cast<LONG_PTR>(&radioButtonProc));
    EXPECT_EQ(procOf(kDropDown), reinterpret_cast<LONG_PTR>(&dropDownButtonProc));
    EXPECT_EQ(procOf(kEdit), reinterpret_cast<LONG_PTR>(&editBoxProc));
    EXPECT_EQ(procOf(kCombo), reinterpret_cast<LONG_PTR>(&comboBoxProc));
    EXPECT_EQ(procOf(kProgress), reinterpret_cast<LONG_PTR>(&progressBarProc));
    EXPECT_NE(procOf(kGroupA), reinterpret_cast<LONG_PTR>(&pushButtonProc)) << "group boxes stay the platform's";
    EXPECT_EQ(GetFocus(), child(kDefault)) << "the default button takes the focus";
    // Met again (owner-drawn by now), a control stays what it was, chained to its own procedure once.
    for (int id : {kPush, kCheck, kRadioA1, kDropDown, kEdit, kCombo, kProgress}) {
        const LONG_PTR proc = procOf(id);
        const intptr_t saved = getSkinProp(child(id), prop::windowProc), kind = getSkinProp(child(id), prop::buttonKind);
        classifyWindow(child(id));
        EXPECT_EQ(procOf(id), proc) << id;
        EXPECT_EQ(getSkinProp(child(id), prop::windowProc), saved) << id;
        EXPECT_EQ(getSkinProp(child(id), prop::buttonKind), kind) << id;
    }
}

TEST_F(SkinnedControls, PushButtonFacesComeThroughTheFrameAndTheClickReachesTheForm) {
    HWND b = child(kPush);
    auto topFace = [b] { return ctltest::clientPixels(b).at(20, 1); };
    EXPECT_TRUE(sameColour(topFace(), palette->faceStart[kFaceNormal])) << "painted from the form's draw-item request";
    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    EXPECT_TRUE(sameColour(topFace(), palette->faceStart[kFaceHover]));
    SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    UpdateWindow(b);
    EXPECT_TRUE(sameColour(topFace(), palette->faceStart[kFacePressed]));
    SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    UpdateWindow(b);
    EXPECT_EQ(formClicks, std::vector<int>{kPush});
    EXPECT_TRUE(sameColour(topFace(), palette->faceStart[kFaceHover]));
    SendMessageA(b, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(sameColour(topFace(), palette->faceStart[kFaceNormal]));
    // The default button: its mark and, with the focus, its focus frame.
    const testpx::Capture def = ctltest::clientPixels(child(kDefault));
    EXPECT_TRUE(sameColour(def.at(94, 10), palette->lineColor));
}

TEST_F(SkinnedControls, CheckBoxesAndRadioButtonsKeepTheirStateInTheSkin) {
    HWND check = child(kCheck);
    SendMessageA(check, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(check, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    UpdateWindow(check);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), 1);
    EXPECT_EQ(formClicks, std::vector<int>{kCheck});
    const RECT tick = ctltest::inkBox({0, 0, 14, 20}, [&, px = ctltest::clientPixels(check)](int x, int y) {
        return px.at(x, y) == palette->markColor;
    });
    EXPECT_GT(tick.right, tick.left) << "the draw-item paint shows the tick";

    EXPECT_EQ(SendMessageA(child(kRadioLocked), BM_GETCHECK, 0, 0), 3) << "set and painted disabled";
    HWND b1 = child(kRadioB1);
    SendMessageA(b1, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(b1, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(SendMessageA(b1, BM_GETCHECK, 0, 0), 1);
    EXPECT_EQ(SendMessageA(child(kRadioA1), BM_GETCHECK, 0, 0), 0) << "the other group box is the same group";
    EXPECT_EQ(SendMessageA(child(kRadioA2), BM_GETCHECK, 0, 0), 0);
    EXPECT_EQ(SendMessageA(child(kRadioLocked), BM_GETCHECK, 0, 0), 3);
}

TEST_F(SkinnedControls, OwnerDrawnButtonGetsTheDecorationWhenItsOwnerReadsTheText) {
    HWND b = child(kDropDown);
    const int before = ownerDraws;
    InvalidateRect(b, nullptr, TRUE);
    UpdateWindow(b);
    EXPECT_GT(ownerDraws, before) << "the form still draws the face";
    const testpx::Capture px = ctltest::clientPixels(b);
    EXPECT_TRUE(sameColour(px.at(30, 0), palette->lineColor));
    EXPECT_TRUE(sameColour(px.at(100 - 19, 12), palette->lineColor)) << "arrow box";
    EXPECT_TRUE(sameColour(px.at(30, 12), RGB(255, 255, 255))) << "the owner's field drawn after the text read";
}

TEST_F(SkinnedControls, EditComboAndProgressAreDecorated) {
    RedrawWindow(child(kEdit), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetWindowDC(child(kEdit));
    EXPECT_TRUE(sameColour(GetPixel(dc, 1, 12), palette->lineColor));
    ReleaseDC(child(kEdit), dc);

    HWND combo = child(kCombo);
    InvalidateRect(combo, nullptr, TRUE);
    UpdateWindow(combo);
    testpx::pumpMessages(60);  // the 5 ms repaint
    EXPECT_TRUE(sameColour(ctltest::clientPixels(combo).at(60, 0), palette->lineColor));

    SendMessageA(child(kProgress), PBM_SETPOS, 50, 0);
    UpdateWindow(child(kProgress));
    EXPECT_TRUE(sameColour(ctltest::clientPixels(child(kProgress)).at(0, 10), palette->lineColor));
}

TEST_F(SkinnedControls, ControlsCreatedLaterAreSkinnedByTheHook) {
    HWND check = ctltest::createControl(form, "Button", "后来", BS_AUTOCHECKBOX, {10, 170, 110, 190}, kLateCheck);
    HWND push = ctltest::createControl(form, "Button", "后来", BS_PUSHBUTTON, {120, 170, 216, 194}, kLatePush);
    EXPECT_EQ(GetWindowLongPtrA(check, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&checkBoxProc));
    EXPECT_EQ(GetWindowLongPtrA(push, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&pushButtonProc));
    EXPECT_EQ(GetWindowLongA(push, GWL_STYLE) & 0xF, BS_OWNERDRAW);
    // Skinned at creation, before anyone could set it: the state is the skin's from the start.
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), 0);
    SendMessageA(check, WM_CHAR, ' ', 0);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), 1);
    UpdateWindow(push);
    EXPECT_TRUE(sameColour(ctltest::clientPixels(push).at(20, 1), palette->faceStart[kFaceNormal]));
}

}  // namespace
