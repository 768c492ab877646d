#include "cleanup_line.h"

namespace core {

std::u16string CleanupLine(std::u16string_view hive, std::u16string_view keyPath, int number,
                           std::optional<std::u16string_view> valueName) {
    std::u16string line(hive);
    line += u'\t';
    line += keyPath;
    if (number != 0 || valueName) {
        line += u'\t';
        for (const char digit : std::to_string(number)) line += static_cast<char16_t>(digit);
    }
    if (valueName) {
        line += u'\t';
        line += valueName->empty() ? std::u16string_view(u" ") : *valueName;
    }
    line += u"\r\n";
    return line;
}

}  // namespace core
