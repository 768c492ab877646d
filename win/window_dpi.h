#pragma once
#include <windows.h>

#ifndef WM_DPICHANGED_AFTERPARENT
// Sent from Windows 10 on to a child window once its parent has taken a new DPI; the headers,
// written for XP, lack it.
constexpr UINT WM_DPICHANGED_AFTERPARENT = 0x02E3;
#endif

// The DPI a window is drawn at: its own where the system scales per monitor (Windows 10's
// GetDpiForWindow, looked up at run time), else the screen's as its device context tells it.
// 96 when neither answers.
int WindowDpi(HWND window);

// The suite's pictures are drawn at 100, 150 and 200 per cent (16, 24 and 32 pixel images); a
// window takes the largest that its DPI does not make smaller than drawn, so that a picture is
// never shrunk and 120 DPI keeps the sharp 100 per cent one.
int PicturePercent(int dpi);

// The number of the bitmap drawn at percent (100, 150 or 200) of the one numbered bitmapId,
// which is drawn for 96 DPI (win/picture_ids.h).
UINT PictureAt(UINT bitmapId, int percent);

// A system metric at a DPI: Windows 10's GetSystemMetricsForDpi where there is one, looked up at
// run time, else the system's own metric, which is at the screen's DPI.
int SystemMetricAt(int index, int dpi);
