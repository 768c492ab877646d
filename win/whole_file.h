#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The whole content of a file, opened sharing read access only, so that a writer that
// overlaps makes the read fail rather than be seen half done. Failures are thrown.
std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path);
