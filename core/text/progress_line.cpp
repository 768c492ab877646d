#include "core/text/progress_line.h"

#include <algorithm>
#include <cstdio>

namespace core {
namespace {

constexpr std::size_t kMaxBarCells = 30;
constexpr std::string_view kCut = "...";

bool StartsCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

std::size_t CharactersIn(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), StartsCharacter));
}

// The last `characters` characters of text, behind "..." when some had to go.
std::string Tail(std::string_view text, std::size_t characters) {
    if (CharactersIn(text) <= characters) return std::string(text);
    if (characters <= kCut.size()) return std::string(kCut.substr(0, characters));
    std::size_t keep = characters - kCut.size();
    std::size_t start = text.size();
    while (keep > 0 && start > 0) {
        --start;
        if (StartsCharacter(text[start])) --keep;
    }
    return std::string(kCut) + std::string(text.substr(start));
}

}  // namespace

std::string ProgressLine(std::string_view name, std::uint64_t done, std::uint64_t total, std::size_t width) {
    const long double fraction = total == 0 ? 1.0L : std::min(1.0L, static_cast<long double>(done) / total);
    const std::size_t usable = width > 0 ? width - 1 : 0;
    const std::size_t cells = std::min(kMaxBarCells, usable / 3);
    const auto filled = static_cast<std::size_t>(fraction * cells);
    char percent[8];
    std::snprintf(percent, sizeof percent, "%3u%%", static_cast<unsigned>(fraction * 100));

    // Bar and percentage are ASCII: there bytes count as characters.
    std::string line;
    if (cells > 0) line = '[' + std::string(filled, '#') + std::string(cells - filled, '.') + "] ";
    line += percent;
    if (line.size() >= usable) return line.substr(0, usable);
    if (line.size() + 1 < usable) line += ' ' + Tail(name, usable - line.size() - 1);
    return line;
}

}  // namespace core
