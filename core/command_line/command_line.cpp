#include "core/command_line/command_line.h"

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

std::u16string_view CommandTail(std::u16string_view line) {
    std::size_t i = 0;
    bool quoted = false;
    for (; i < line.size() && (line[i] > u' ' || quoted); ++i) {
        if (line[i] == u'"') quoted = !quoted;
    }
    while (i < line.size() && line[i] <= u' ') ++i;
    return line.substr(i);
}

bool ParseCommandLine(std::u16string_view line, CommandLineSink& sink) {
    std::size_t position = 0;
    // The program's own name is passed over unread, however long the installation path.
    NextToken(line, position);
    while (const auto token = NextToken(line, position)) {
        if (token->size() > kMaxCommandTokenUnits) return false;
        if (!token->empty() && token->front() == u'/') {
            sink.AddCommand(token->substr(1));
        } else if (!sink.AddPath(*token)) {
            return false;
        }
    }
    return true;
}

}  // namespace core
