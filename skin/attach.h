// Attaching the skin: window properties, classification of windows, the creation hook.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

#include "skin/theme.h"

// Class name of Certivex's own form windows; the skin treats them as top-level windows.
inline constexpr char formWindowClass[] = "Certivex.Form";

// Names of the skin's window properties (GBK at run time).
namespace prop {
inline constexpr char windowProc[] = "Skin.窗口过程";
inline constexpr char closeButton[] = "Skin.关闭按钮";
inline constexpr char systemMenu[] = "Skin.系统菜单";
inline constexpr char captionBar[] = "Skin.标题栏";
inline constexpr char maximizeButton[] = "Skin.最大化按钮";
inline constexpr char minimizeButton[] = "Skin.最小化按钮";
inline constexpr char captionText[] = "Skin.窗口标题";
inline constexpr char iconHandle[] = "Skin.图标句柄";
inline constexpr char timerState[] = "Skin.时钟状态";
inline constexpr char restoreFlag[] = "Skin.还原按钮";
inline constexpr char activeState[] = "Skin.激活状态";
inline constexpr char buttonKind[] = "Skin.按钮类型";
inline constexpr char defaultButton[] = "Skin.默认按钮";
inline constexpr char focus[] = "Skin.焦点";
inline constexpr char checked[] = "Skin.选中";
inline constexpr char mouseInside[] = "Skin.鼠标移入";
inline constexpr char mouseDown[] = "Skin.鼠标点击";
}  // namespace prop

// One machine word per property; a property never set reads as 0.
intptr_t getSkinProp(HWND window, const char* name);
void setSkinProp(HWND window, const char* name, intptr_t value);

// Values of "Skin.按钮类型".
enum ButtonKind : intptr_t { kPushButton = 0, kCheckBox = 1, kRadioButton = 2, kOwnerDrawButton = 4 };

// CaptionButtonState: 0 normal, 1 hover, 2 pressed, 3 unavailable.
enum CaptionButtonState : intptr_t { kButtonNormal = 0, kButtonHover = 1, kButtonPressed = 2, kButtonUnavailable = 3 };

extern HWND skinMainWindow;
extern HICON fallbackIcon;
// The skin's creation watch (WH_CBT), from skinStart until the main window's end, and the
// WH_CALLWNDPROC hook it installs while windows are being created.
extern HHOOK createHook;
extern HHOOK createMessageHook;

void skinStart(HWND window, const SkinPalette& palette, bool useGivenPalette);
void attachFrameWindow(HWND window);
void classifyWindow(HWND window);

// What classifyWindow makes of a window, from its exact class name and (for "Button") its style.
enum class WindowKind {
    none, frame, pushButton, checkBox, radioButton, dropDownButton, editBox, comboBox, progressBar
};
WindowKind windowKind(const std::string& className, LONG style);
// Told of every window classifyWindow looks at and what it made of it (diagnostics and tests).
using ClassifyWatcher = void (*)(HWND window, WindowKind kind);
void setClassifyWatcher(ClassifyWatcher watcher);
LRESULT callSavedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void installCreateHook();
void removeCreateHook();
LRESULT CALLBACK createHookProc(int code, WPARAM wParam, LPARAM lParam);
// The class name, at most 127 bytes, compared byte for byte by the callers.
std::string windowClassName(HWND window);

// captionTextBlock: a movable, zeroed global block holding the caption text and a zero byte.
HGLOBAL createCaptionTextBlock(const char* text, size_t length);
void rewriteCaptionTextBlock(HGLOBAL block, const char* text, size_t length);
std::string readCaptionTextBlock(HGLOBAL block);

// Installs a skin procedure after saving the current one in "Skin.窗口过程".
void replaceWindowProc(HWND window, WNDPROC skinProc);
