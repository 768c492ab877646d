#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace core {

// One line of the uninstaller's clean-up list, "\r\n" included: hive word and key path, then
// the number when it is not 0 or a value name follows, then the value name (an empty one
// written as a single space), separated by tabs.
std::u16string CleanupLine(std::u16string_view hive, std::u16string_view keyPath, int number,
                           std::optional<std::u16string_view> valueName);

}  // namespace core
