#pragma once
#include <windows.h>

// The hook of the selection dialogs: the dialog comes up centred, and its Help button opens
// the online help in personal mode, else the current help object's topic.
UINT_PTR CALLBACK SelectionDialogHook(HWND hookDialog, UINT message, WPARAM wParam, LPARAM lParam);

// What the hook does on the dialog's initialisation, for hooks of other dialogs to share.
void CentreSelectionDialog(HWND hookDialog);
