// Skinned child controls: push buttons, check boxes, radio buttons, owner-drawn drop-down buttons,
// edit boxes, combo boxes and progress bars.
#pragma once
#include <windows.h>

// Process-wide hover flags, one per control kind.
extern bool pushHoverFlag;
extern bool dropDownHoverFlag;
extern bool comboHoverFlag;

// Two-colour linear fill of (left, top)-(right, bottom), right and bottom excluded.
void fillGradient(HDC dc, int left, int top, int right, int bottom, COLORREF startColor, COLORREF endColor,
                  bool horizontal = true);

// Push buttons.
void attachPushButton(HWND hwnd);
LRESULT CALLBACK pushButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void paintPushButton(const DRAWITEMSTRUCT& record);

// Check boxes and radio buttons.
void attachCheckBox(HWND hwnd);
void attachRadioButton(HWND hwnd);
LRESULT CALLBACK checkBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK radioButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void selectRadioButton(HWND hwnd);
void paintCheckBox(const DRAWITEMSTRUCT& record);
void paintRadioButton(const DRAWITEMSTRUCT& record);

// Owner-drawn drop-down buttons and the arrow box shared with combo boxes.
void attachDropDownButton(HWND hwnd);
LRESULT CALLBACK dropDownButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void paintDropDownButton(const DRAWITEMSTRUCT& record);
void paintArrowBox(HDC dc, int left, int top, int right, int bottom, COLORREF start, COLORREF end);

// Edit boxes.
void attachEditBox(HWND hwnd);
LRESULT CALLBACK editBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void paintEditFrame(HWND hwnd);
int editScrollBarKind(HWND hwnd);

// Combo boxes.
void attachComboBox(HWND hwnd);
LRESULT CALLBACK comboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void paintComboBox(const DRAWITEMSTRUCT& record);

// Progress bars.
void attachProgressBar(HWND hwnd);
LRESULT CALLBACK progressBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void paintProgressBar(HWND hwnd, int newPosition, bool useNewPosition);
void paintProgressTrack(HWND hwnd);
void drawVerticalPercent(HDC dc, const RECT& rect, const char* text, int size);
