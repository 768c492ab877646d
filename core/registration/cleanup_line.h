#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// One line of the uninstaller's clean-up list, "\r\n" included: hive word and key path, then
// the number when it is not 0 or a value name follows, then the value name (an empty one
// written as a single space), separated by tabs.
std::u16string CleanupLine(std::u16string_view hive, std::u16string_view keyPath, int number,
                           std::optional<std::u16string_view> valueName);

// A line of the list as the uninstaller reads it back.
struct CleanupEntry {
    std::u16string hive;
    std::u16string keyPath;
    int number = 0;
    // The value to remove; empty for the key's default value, none when the line names no value.
    std::optional<std::u16string> valueName;

    bool operator==(const CleanupEntry&) const = default;
};

// What the uninstaller does for a line. The number's bits refine what the value name says:
// 1 with a value, the key as well once nothing is left in it; 2 without a value, the key
// with everything below it.
enum class CleanupAction {
    kRemoveValue,
    kRemoveValueThenEmptyKey,
    kRemoveKeyWithoutSubkeys,
    kRemoveKeyTree,
};
CleanupAction ActionOf(const CleanupEntry& entry);

// Whether the uninstaller may carry out the line: it must stay within what the suite itself
// writes there, since the list is a file anyone with write access to the installation folder
// can change, and the uninstaller runs with the administrator's rights. Any line at or below
// the product's own key, in either hive; in the user hives, a line that removes a value the
// suite keeps in the settings keys it shares with the maker's other products.
bool IsProductLine(const CleanupEntry& entry);

// The lines of a clean-up list file: UTF-16LE after its byte-order mark (a file without one
// holds no lines, as the writer starts such a file afresh). A line is left out when it has no
// hive word; a key path that is empty or has an empty part (a leading, doubled or trailing
// backslash, which would name a key above the one meant); a control character (a zero among
// them) in its key path or value name; a number that is not a decimal number; or when it is
// not a product line.
std::vector<CleanupEntry> ParseCleanupList(std::span<const std::uint8_t> bytes);

}  // namespace core
