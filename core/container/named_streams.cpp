#include "core/container/named_streams.h"

#include <algorithm>
#include <string_view>

namespace core {

namespace {

constexpr std::size_t kNameOffset = 24;
constexpr std::u16string_view kUnnamedStream = u"::$DATA";

std::uint32_t U32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

bool IsUnnamed(std::span<const std::uint8_t> name) {
    if (name.size() != kUnnamedStream.size() * 2) return false;
    for (std::size_t i = 0; i < kUnnamedStream.size(); ++i) {
        const auto unit = static_cast<char16_t>(name[2 * i] | name[2 * i + 1] << 8);
        if (unit != kUnnamedStream[i]) return false;
    }
    return true;
}

}  // namespace

bool ListsNamedStream(std::span<const std::uint8_t> streamList) {
    std::size_t offset = 0;
    while (offset < streamList.size()) {
        if (streamList.size() - offset < kNameOffset) return true;
        const std::span<const std::uint8_t> record = streamList.subspan(offset);
        const std::uint32_t next = U32At(record, 0);
        const std::uint32_t nameLength = U32At(record, 4);
        if (nameLength > record.size() - kNameOffset) return true;
        if (!IsUnnamed(record.subspan(kNameOffset, nameLength))) return true;
        if (next == 0) return false;
        offset += next;
    }
    return false;
}

}  // namespace core
