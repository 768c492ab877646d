#pragma once
#include <windows.h>

#include <span>
#include <vector>

// Flushes the files at once, from threads of their own, so that the file system may commit
// them as one group instead of waiting for the disk once per file. For each file, 0 or the
// error its flush met.
std::vector<DWORD> FlushTogether(std::span<const HANDLE> files);
