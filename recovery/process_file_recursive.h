#pragma once
#include <windows.h>

#include <string>

class CEncryptionDecryption;

// Runs one path through the engine: a file whatever its kind (the engine leaves alone what is
// not an encrypted file), a folder with everything in it. Nothing is recorded in the
// decrypted-items store, and nothing new is started once the run is cancelled. A missing path
// is reported with entry 50, a folder that cannot be listed with entry 18.
HRESULT ProcessFileRecursive(CEncryptionDecryption& engine, const std::wstring& path);
