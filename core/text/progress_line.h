#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// One line of a progress bar on a terminal `width` columns wide: "[#####.....]  50% name".
// The line stays short of the last column, so that the terminal never wraps it; a name too
// long for the rest is cut at its start behind "...", since its end tells files apart.
// The name is UTF-8 and counted in characters.
std::string ProgressLine(std::string_view name, std::uint64_t done, std::uint64_t total, std::size_t width);

}  // namespace core
