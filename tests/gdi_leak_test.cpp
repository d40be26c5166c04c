// Every control repaint releases what it made: repeated repaints of each kind leave the GDI handle
// table as it was. The suite runs 2,000 repaints of each kind; CERTIVEX_LEAK_REPAINTS=10000 runs the
// full count (about two minutes under Wine).
//
// Live GDI objects are counted by the shared measure (tools/support/usage.h): GetGuiResources where
// it counts, else a walk of the GDI handle table (Wine's GetGuiResources answers 0).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <vector>

#include "controls_fixture.h"
#include "tools/support/usage.h"

namespace {

const int kRepaints = [] {
    char value[16] = {};
    const DWORD length = GetEnvironmentVariableA("CERTIVEX_LEAK_REPAINTS", value, sizeof(value));
    const int count = length > 0 && length < sizeof(value) ? std::atoi(value) : 0;
    return count > 0 ? count : 2000;
}();

void drainMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Runs `repaint` kRepaints times and returns how many more GDI objects live afterwards.
int growthOver(const char* kind, const std::function<void(int)>& repaint) {
    // A few repaints first: the platform keeps what a first use creates (a font face, a cached DC).
    for (int i = 0; i < 20; ++i) repaint(i);
    drainMessages();
    const int before = static_cast<int>(usage::gdiObjects().value);
    for (int i = 0; i < kRepaints; ++i) {
        repaint(i);
        if (i % 64 == 0) drainMessages();  // leave notifications posted while the pointer is elsewhere
    }
    drainMessages();
    const usage::Count counted = usage::gdiObjects();
    const int after = static_cast<int>(counted.value);
    std::printf("%-28s %d repaints: GDI objects %d -> %d (%s)\n", kind, kRepaints, before, after,
                usage::sourceName(counted.source, false));
    return after - before;
}

class GdiLeakTest : public testing::Test {
protected:
    void SetUp() override {
        ctltest::defaultPalette();
        parent = ctltest::createTestParent();
        SetCursorPos(1200, 1000);  // away from every control
    }
    HWND parent = nullptr;
};

TEST_F(GdiLeakTest, HoverAndLeaveRepaints) {
    HWND push = ctltest::createControl(parent, "Button", "保存(&S)", BS_DEFPUSHBUTTON, {10, 10, 106, 34}, 1);
    attachPushButton(push);
    EXPECT_LE(growthOver("push button hover/leave", [&](int) {
                  SendMessageA(push, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
                  SendMessageA(push, WM_MOUSELEAVE, 0, 0);
              }),
              0);

    HWND dropDown = ctltest::createControl(parent, "Button", "下拉", BS_OWNERDRAW, {10, 40, 90, 64}, 2);
    attachDropDownButton(dropDown);
    EXPECT_LE(growthOver("drop-down hover/leave/text", [&](int) {
                  SendMessageA(dropDown, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
                  SendMessageA(dropDown, WM_MOUSELEAVE, 0, 0);
                  char text[8];
                  GetWindowTextA(dropDown, text, sizeof(text));
              }),
              0);

    HWND combo = ctltest::createControl(parent, "ComboBox", "", CBS_DROPDOWNLIST, {10, 70, 130, 200}, 3);
    attachComboBox(combo);
    EXPECT_LE(growthOver("combo box hover/leave/timer", [&](int) {
                  SendMessageA(combo, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
                  SendMessageA(combo, WM_MOUSELEAVE, 0, 0);
                  SendMessageA(combo, WM_TIMER, 0, 0);
              }),
              0);
}

TEST_F(GdiLeakTest, StateAndFrameRepaints) {
    HWND check = ctltest::createControl(parent, "Button", "选中", BS_AUTOCHECKBOX, {10, 10, 110, 30}, 1);
    attachCheckBox(check);
    setSkinProp(check, prop::focus, 1);
    EXPECT_LE(growthOver("check box BM_SETCHECK", [&](int i) { SendMessageA(check, BM_SETCHECK, i & 1, 0); }), 0);

    HWND radio = ctltest::createControl(parent, "Button", "单选", BS_AUTORADIOBUTTON, {10, 40, 110, 60}, 2);
    attachRadioButton(radio);
    setSkinProp(radio, prop::checked, 1);
    EXPECT_LE(growthOver("radio button BM_SETCHECK", [&](int i) { SendMessageA(radio, BM_SETCHECK, i & 1, 0); }), 0);

    HWND edit = ctltest::createControl(parent, "Edit", "编辑", ES_AUTOHSCROLL, {10, 70, 110, 94}, 3, WS_EX_CLIENTEDGE);
    attachEditBox(edit);
    EXPECT_LE(growthOver("edit box WM_NCPAINT", [&](int) { SendMessageA(edit, WM_NCPAINT, 1, 0); }), 0);

    HWND bar = ctltest::createControl(parent, PROGRESS_CLASSA, "", 0, {10, 100, 210, 120}, 4);
    HWND vertical = ctltest::createControl(parent, PROGRESS_CLASSA, "", PBS_VERTICAL, {220, 10, 240, 210}, 5);
    attachProgressBar(bar);
    attachProgressBar(vertical);
    EXPECT_LE(growthOver("progress bars PBM_SETPOS", [&](int i) {
                  SendMessageA(bar, PBM_SETPOS, i % 101, 0);
                  SendMessageA(vertical, PBM_SETPOS, i % 101, 0);
              }),
              0);
}

TEST_F(GdiLeakTest, TheMeasureSeesALeakOfOneObjectPerRepaint) {
    std::vector<HBRUSH> leaked;
    const int growth = growthOver("deliberate leak", [&](int) { leaked.push_back(CreateSolidBrush(0)); });
    for (HBRUSH brush : leaked) DeleteObject(brush);
    EXPECT_EQ(growth, kRepaints);
}

}  // namespace
