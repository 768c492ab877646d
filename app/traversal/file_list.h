#pragma once
#include <windows.h>

#include "text/string_containers.h"

// One complete run of an engine (kind 1 encrypt, 2 decrypt, 4 decrypt and open) over the
// paths: the user's secret, the walk, the report. Errors are shown to the user, not returned.
void ProcessFileList(HWND owner, const CStringList& paths, int operationKind);

// The open-file dialog for encryption or decryption, then ProcessFileList on the choice.
void ChooseAndEncrypt(HWND owner);
void ChooseAndDecrypt(HWND owner);
