#pragma once
#include <cstdint>
#include <string>

// Bytes of the file, or of every file below the folder, for the progress bar of a run. What
// cannot be read counts 0; hidden, system and protected items count although the walk
// skips them.
std::uint64_t TotalSize(const std::wstring& path);
