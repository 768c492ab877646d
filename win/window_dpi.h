#pragma once
#include <windows.h>

// The DPI a window is drawn at: its own where the system scales per monitor (Windows 10's
// GetDpiForWindow, looked up at run time), else the screen's as its device context tells it.
// 96 when neither answers.
int WindowDpi(HWND window);

// A system metric at a DPI: Windows 10's GetSystemMetricsForDpi where there is one, looked up at
// run time, else the system's own metric, which is at the screen's DPI.
int SystemMetricAt(int index, int dpi);
