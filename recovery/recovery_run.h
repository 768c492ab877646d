#pragma once
#include <windows.h>

#include "text/string_containers.h"

// One recovery: the open-file dialog, then DecryptSelection on the files chosen. Nothing
// happens when the user cancels the dialog.
void RunRecovery(HWND owner);

// Asks for the password and decrypts the paths with the secret made from it; files and
// folders are walked in list order, and a report is shown when there is something to say.
// Every outcome is shown to the user.
void DecryptSelection(HWND owner, const CStringList& paths);
