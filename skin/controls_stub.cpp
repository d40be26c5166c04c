// Entry points of the control kinds not yet skinned; each moves to its own unit.
#include "skin/controls.h"

bool dropDownHoverFlag = false;
bool comboHoverFlag = false;
void attachDropDownButton(HWND) {}
void attachEditBox(HWND) {}
void attachComboBox(HWND) {}
void attachProgressBar(HWND) {}
