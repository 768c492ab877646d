#pragma once
#include <windows.h>

#include "app/startup/window_handles.h"

// The small window shown when the program starts without arguments; its menu offers the
// file-selection dialogs for encryption and decryption, help and exit.
class CMainWnd {
public:
    // Creates and shows the window, which takes the menu. False when it cannot be created.
    bool Create(HINSTANCE instance, MenuHandle menu);
    // Dispatches messages until the window is closed.
    static void RunMessageLoop();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate(HWND window);
    void OnCommand(HWND window, WORD command);

    IconHandle icon_;
};

// Shows the main window with the menu and title of the resource module until the user
// closes it. Nothing happens when the window cannot be created.
void RunMainWindow(HINSTANCE instance);
