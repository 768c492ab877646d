#pragma once
#include <windows.h>

// S_OK when the next 4 bytes of the file are the container's magic, S_FALSE when they
// differ or the file ends first; a failed read gives its error.
HRESULT IsEncryptedFile(HANDLE file);
