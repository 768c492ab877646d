#include "core/text/string_table_block.h"

namespace core {

namespace {

std::optional<std::uint16_t> UnitAt(std::span<const std::uint8_t> block, std::size_t unit) {
    if (block.size() / 2 <= unit) return std::nullopt;
    return static_cast<std::uint16_t>(block[unit * 2] | block[unit * 2 + 1] << 8);
}

}  // namespace

std::optional<std::u16string> StringTableEntry(std::span<const std::uint8_t> block, unsigned index) {
    if (index >= 16) return std::nullopt;
    std::size_t unit = 0;
    for (unsigned entry = 0;; ++entry) {
        const std::optional<std::uint16_t> length = UnitAt(block, unit);
        if (!length) return std::nullopt;
        if (entry == index) {
            if (block.size() / 2 < unit + 1 + *length) return std::nullopt;
            std::u16string text(*length, u'\0');
            for (std::size_t i = 0; i < *length; ++i) text[i] = *UnitAt(block, unit + 1 + i);
            return text;
        }
        unit += 1 + *length;
    }
}

}  // namespace core
