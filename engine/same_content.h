#pragma once
#include <windows.h>

#include <string>

#include "engine/file_keys.h"

// Whether the open encrypted file, in either format, holds exactly the open plain file (named
// plainPath) under these keys: its header is accepted and names the plain file, and its
// payload deciphers to the plain file's bytes with its checksum matching (a sealed file:
// every message authentic to the last). Nothing is written. A run that died after moving its output into
// place and before removing its input leaves such a pair; anything that cannot be read does
// not match. Both files are read from their starts.
bool HoldsTheSameContent(HANDLE encrypted, HANDLE plain, const std::wstring& plainPath,
                         const CFileKeys& keys);
