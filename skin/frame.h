// Skinned top-level windows: the window procedure, frame painting, caption buttons and hit testing.
#pragma once
#include <windows.h>
#include <string>

#include "skin/geometry.h"
#include "skin/theme.h"

LRESULT CALLBACK skinFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Window procedure helpers.
LRESULT setActiveState(HWND window, WPARAM state);
LRESULT updateCaptionText(HWND window, WPARAM wParam, LPARAM lParam);
void releaseFrameWindow(HWND window);
void applyFrameShape(HWND window);
void frameComboBox(HWND window);

// The frame state kept in window properties.
ButtonStates readButtonStates(HWND window);
void writeButtonStates(HWND window, const ButtonStates& states);
// Minimized: the restore flag is set and the window is not zoomed; maximized: set and zoomed.
bool isSkinMinimized(HWND window);
bool isSkinMaximized(HWND window);

// The client background: the backgroundCell sprite stretched over a rectangle.
void paintClientBackground(HDC context, const RECT& rectangle);

// Frame and caption painting. paintNonClient takes the WM_NCPAINT region, or 1 for the whole window.
LRESULT calcClientArea(RECT* rectangle);
void paintNonClient(HWND window, HRGN region);
void paintFrame(HDC context, HWND window);
void paintCaptionButtons(HWND window, HDC context);
void paintCaptionText(HWND window, HDC context);
// Copies a sprite out of the atlas: plain, stretched with halftone when the sizes differ, and with
// a key other than 0 every destination pixel whose source pixel is the key keeps its value.
void drawSprite(HDC context, const SpriteRect& destination, const SpriteRect& source, COLORREF key);

// Caption buttons and hit testing.
LRESULT hitTestFrame(HWND window, LPARAM position);
int hitTestCaptionButtons(HWND window, POINT point);
bool hitTestIcon(HWND window, POINT point);
void trackCaptionHover(HWND window, WPARAM hitCode);
void CALLBACK hoverTimerProc(HWND window, UINT message, UINT_PTR timerId, DWORD time);
LRESULT pressCaptionButton(HWND window, UINT message, WPARAM hitCode, LPARAM position);
void releaseCaptionButton(HWND window, WPARAM hitCode);
