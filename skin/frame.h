// Skinned top-level windows: the window procedure, frame painting, caption buttons and hit testing.
#pragma once
#include <windows.h>
#include <string>

#include "skin/theme.h"

LRESULT CALLBACK skinFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Window procedure helpers.
LRESULT setActiveState(HWND window, WPARAM state);
LRESULT updateCaptionText(HWND window, WPARAM wParam, LPARAM lParam);
void releaseFrameWindow(HWND window);
void applyFrameShape(HWND window);
void frameComboBox(HWND window);

// Frame and caption painting.
LRESULT calcClientArea(RECT* rectangle);
void paintNonClient(HWND window, HRGN region);
void paintFrame(HDC context, HWND window);
void paintCaptionButtons(HWND window, HDC context);
void paintCaptionText(HWND window, HDC context);
void drawSprite(HDC context, const SpriteRect& destination, const SpriteRect& source, COLORREF key);

// Caption buttons and hit testing.
LRESULT hitTestFrame(HWND window, LPARAM position);
int hitTestCaptionButtons(HWND window, POINT point);
bool hitTestIcon(HWND window, POINT point);
void trackCaptionHover(HWND window, WPARAM hitCode);
void CALLBACK hoverTimerProc(HWND window, UINT message, UINT_PTR timerId, DWORD time);
LRESULT pressCaptionButton(HWND window, UINT message, WPARAM hitCode, LPARAM position);
void releaseCaptionButton(HWND window, WPARAM hitCode);
