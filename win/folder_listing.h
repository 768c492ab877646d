#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Appends the full path of every entry of the folder except "." and "..", in the order the
// file system returns them. The listing is closed before this returns, so whatever the
// caller then creates or deletes in the folder does not disturb the entries it got.
// Returns the status of a listing that could not be started; entries is then untouched.
HRESULT ListFolderEntries(const std::wstring& folder, std::vector<std::wstring>& entries);

// Bytes of the file, or of every file below the folder, for the progress bar of a run. What
// cannot be read counts 0; hidden, system and protected items count although the walk
// skips them.
std::uint64_t TotalSize(const std::wstring& path);
