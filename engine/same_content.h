#pragma once
#include <windows.h>

#include <string>

#include "engine/file_keys.h"

// Whether the encrypted file holds exactly the plain file under these keys: its header is
// accepted and names the plain file, its payload deciphers to the plain file's bytes and its
// checksum matches. A run that died after moving its output into place and before removing
// its input leaves such a pair; anything that cannot be read does not match.
bool HoldsTheSameContent(const std::wstring& encrypted, const std::wstring& plain, const CFileKeys& keys);
