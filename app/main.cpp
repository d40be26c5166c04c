// Certivex: composes novelty certificate pictures.
#include <windows.h>

#include "app/mainwindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return runProgram(instance); }
