#include "core/registration/wininit_rename.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace core {
namespace {

constexpr std::string_view kHeaders[] = {"[rename]", "[Rename]", "[RENAME]"};
constexpr std::string_view kLineBreak = "\r\n";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view line) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && (IsBlank(line.back()) || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

bool IsRenameHeader(std::string_view line) {
    const std::string_view text = Trimmed(line);
    return std::find(std::begin(kHeaders), std::end(kHeaders), text) != std::end(kHeaders);
}

}  // namespace

std::string NulRenameLine(std::string_view shortPath) {
    return "NUL=" + std::string(shortPath) + std::string(kLineBreak);
}

TextInsertion RenameSectionInsertion(std::string_view ini, std::string_view lines) {
    for (std::size_t start = 0; start < ini.size();) {
        const std::size_t newline = ini.find('\n', start);
        const std::size_t end = newline == std::string_view::npos ? ini.size() : newline;
        if (IsRenameHeader(ini.substr(start, end - start))) {
            if (newline == std::string_view::npos)
                return {ini.size(), std::string(kLineBreak) + std::string(lines)};
            return {newline + 1, std::string(lines)};
        }
        start = end + 1;
    }
    std::string text = ini.empty() || ini.back() == '\n' ? std::string() : std::string(kLineBreak);
    text += std::string(kHeaders[0]) + std::string(kLineBreak) + std::string(lines);
    return {ini.size(), std::move(text)};
}

void InsertInPlace(std::span<char> buffer, std::size_t used, const TextInsertion& insertion) {
    if (insertion.offset > used || buffer.size() != used + insertion.text.size()) {
        throw std::invalid_argument("insertion does not fit the buffer");
    }
    char* at = buffer.data() + insertion.offset;
    std::memmove(at + insertion.text.size(), at, used - insertion.offset);
    std::memcpy(at, insertion.text.data(), insertion.text.size());
}

}  // namespace core
