#include "command_token.h"

#include <algorithm>

namespace core {

namespace {

std::size_t SkipAll(std::u16string_view line, std::size_t position, char16_t unit) {
    while (position < line.size() && line[position] == unit) ++position;
    return position;
}

}  // namespace

std::optional<std::u16string_view> NextToken(std::u16string_view line, std::size_t& position) {
    if (position >= line.size()) return std::nullopt;
    const bool quoted = line[position] == u'"';
    const std::size_t start = quoted ? position + 1 : position;
    const std::size_t end = std::min(line.find(quoted ? u'"' : u' ', start), line.size());
    position = SkipAll(line, SkipAll(line, end, u'"'), u' ');
    return line.substr(start, end - start);
}

}  // namespace core
