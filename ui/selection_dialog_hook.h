#pragma once
#include <windows.h>

// The hook of the selection dialogs: the dialog comes up centred, and its Help button opens
// the online help in personal mode, else the current help object's topic.
UINT_PTR CALLBACK SelectionDialogHook(HWND hookDialog, UINT message, WPARAM wParam, LPARAM lParam);

// The same for a program without personal mode: the Help button always opens the current help
// object's topic.
UINT_PTR CALLBACK CurrentHelpDialogHook(HWND hookDialog, UINT message, WPARAM wParam, LPARAM lParam);
