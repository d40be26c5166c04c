// Start-up and MainWindow: the form window, its controls, onWindowCreated and the message loop.
#pragma once
#include <windows.h>

#include "app/layout.h"

// The program's main window while it exists (nullptr before and after).
extern HWND mainWindow;

// Registers "Certivex.Form" and the control classes of the form layer (once per process).
void registerMainWindowClass(HINSTANCE instance);
// Creates MainWindow hidden, centred on the primary screen, with every control of the form and the
// built-in pictures; sets `mainWindow`. Does not run onWindowCreated.
HWND createMainWindow(HINSTANCE instance);
// Runs once MainWindow and its controls exist: starts the skin, the template listing and seeds the
// serial number generator.
void onWindowCreated();
// A control of MainWindow by id, also the children of CertificateView.
HWND formControl(int id);

// One message of the loop: keyboard navigation (Tab, Esc closes, Enter presses a focused button),
// then the usual translation and dispatch.
void processFormMessage(const MSG& msg);
// The whole program: COM, common controls, skin tables, MainWindow, message loop.
int runProgram(HINSTANCE instance);
