#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The decrypted-items file on disk. Readers share read access only and writers share
// nothing, so a read and a write that overlap make one of them fail rather than one seeing
// half of the other's content.

// The last-write time as one number; 0 when there is no such file (a folder does not count).
ULONGLONG StoreFileWriteTime(const std::wstring& path);

// The whole file; failures are thrown.
std::vector<std::uint8_t> ReadStoreFile(const std::wstring& path);

// Replaces the file's content. The new content goes to a temporary file in the same folder
// that is then moved over the old one, so that a crash or a full disk never leaves a
// truncated list. When the move is refused (another process holds the file open), the file
// is rewritten in place. Failures are thrown; the temporary file never stays behind.
void WriteStoreFile(const std::wstring& path, std::span<const std::uint8_t> bytes);
