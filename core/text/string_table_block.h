#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace core {

// A string-table resource block holds 16 entries, each a 16-bit little-endian length
// followed by that many UTF-16 units. The entry at index (0 to 15), or nothing when the
// block is too short to hold it: the block comes from a module that may be damaged.
std::optional<std::u16string> StringTableEntry(std::span<const std::uint8_t> block, unsigned index);

}  // namespace core
