#pragma once
#include <windows.h>

// Moves a top-level window to the middle of the desktop's work area, keeping its size.
void CentreOnWorkArea(HWND window);

// Moves a window to the middle of its owner (of the work area when it has none), keeping its
// size and keeping it inside the work area.
void CentreOverOwner(HWND window, HWND owner);
