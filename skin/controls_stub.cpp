// Entry points of the control kinds not yet skinned; each moves to its own unit.
#include "skin/controls.h"

bool pushHoverFlag = false;
bool dropDownHoverFlag = false;
bool comboHoverFlag = false;
void attachPushButton(HWND) {}
void attachCheckBox(HWND) {}
void attachRadioButton(HWND) {}
void attachDropDownButton(HWND) {}
void attachEditBox(HWND) {}
void attachComboBox(HWND) {}
void attachProgressBar(HWND) {}
void paintPushButton(const DRAWITEMSTRUCT&) {}
void paintCheckBox(const DRAWITEMSTRUCT&) {}
void paintRadioButton(const DRAWITEMSTRUCT&) {}
