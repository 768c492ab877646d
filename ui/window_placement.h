#pragma once
#include <windows.h>

// Moves a top-level window to the middle of the desktop's work area, keeping its size.
void CentreOnWorkArea(HWND window);
