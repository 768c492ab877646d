#include "core/registration/cleanup_line.h"

#include <algorithm>

#include "core/registration/registry_keys.h"
#include "core/text/decimal_number.h"

namespace core {
namespace {

constexpr int kKeyWhenEmpty = 1;
constexpr int kKeyWithSubkeys = 2;

// The text between separators; the last field is the rest of the text, so a value name
// may hold the separator itself.
std::vector<std::u16string_view> Fields(std::u16string_view line, std::size_t maxFields) {
    std::vector<std::u16string_view> fields;
    while (fields.size() + 1 < maxFields) {
        const std::size_t tab = line.find(u'\t');
        if (tab == std::u16string_view::npos) break;
        fields.push_back(line.substr(0, tab));
        line.remove_prefix(tab + 1);
    }
    fields.push_back(line);
    return fields;
}

// The product's own key, and the settings keys it shares, below each hive word.
constexpr auto kProductKeyText = AsU16KeyPath(kTapwiseCryptoKey);
constexpr auto kAppSettingsKeyText = AsU16KeyPath(kAppSettingsKey);
constexpr auto kGeneralSettingsKeyText = AsU16KeyPath(kGeneralSettingsKey);
constexpr std::u16string_view kProductKey = kProductKeyText.view();
constexpr std::u16string_view kSharedSettingsKeys[] = {kAppSettingsKeyText.view(),
                                                       kGeneralSettingsKeyText.view()};
constexpr std::u16string_view kMachineHive = u"HK";
constexpr std::u16string_view kUserHives = u"HKU";

bool HasControlCharacter(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c < u' ' || c == u'\x7F'; });
}

bool IsKeyPath(std::u16string_view path) {
    if (path.empty() || path.front() == u'\\' || path.back() == u'\\' || HasControlCharacter(path))
        return false;
    return path.find(u"\\\\") == std::u16string_view::npos;
}

char16_t AsciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Registry names are compared without case.
bool SameKey(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return AsciiUpper(x) == AsciiUpper(y); });
}

bool IsAtOrBelow(std::u16string_view path, std::u16string_view key) {
    return path.size() >= key.size() && SameKey(path.substr(0, key.size()), key) &&
           (path.size() == key.size() || path[key.size()] == u'\\');
}

std::optional<CleanupEntry> ParseLine(std::u16string_view line) {
    const std::vector<std::u16string_view> fields = Fields(line, 4);
    if (fields.size() < 2 || fields[0].empty() || !IsKeyPath(fields[1])) return std::nullopt;
    CleanupEntry entry{std::u16string(fields[0]), std::u16string(fields[1]), 0, std::nullopt};
    if (fields.size() > 2) {
        const std::optional<int> number = DecimalNumber(fields[2]);
        if (!number) return std::nullopt;
        entry.number = *number;
    }
    if (fields.size() > 3) {
        if (HasControlCharacter(fields[3])) return std::nullopt;
        entry.valueName = fields[3] == u" " ? u"" : std::u16string(fields[3]);
    }
    if (!IsProductLine(entry)) return std::nullopt;
    return entry;
}

std::u16string Utf16Le(std::span<const std::uint8_t> bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return text;
}

}  // namespace

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

bool IsProductLine(const CleanupEntry& entry) {
    const bool machine = entry.hive == kMachineHive;
    const bool users = entry.hive == kUserHives;
    if ((machine || users) && IsAtOrBelow(entry.keyPath, kProductKey)) return true;
    return users && entry.valueName &&
           std::any_of(std::begin(kSharedSettingsKeys), std::end(kSharedSettingsKeys),
                       [&](std::u16string_view key) { return SameKey(entry.keyPath, key); });
}

CleanupAction ActionOf(const CleanupEntry& entry) {
    if (entry.valueName)
        return entry.number & kKeyWhenEmpty ? CleanupAction::kRemoveValueThenEmptyKey
                                            : CleanupAction::kRemoveValue;
    return entry.number & kKeyWithSubkeys ? CleanupAction::kRemoveKeyTree
                                          : CleanupAction::kRemoveKeyWithoutSubkeys;
}

std::vector<CleanupEntry> ParseCleanupList(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) return {};
    const std::u16string text = Utf16Le(bytes.subspan(2));
    std::vector<CleanupEntry> entries;
    std::u16string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find(u'\n');
        std::u16string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::u16string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
        if (std::optional<CleanupEntry> entry = ParseLine(line)) entries.push_back(std::move(*entry));
    }
    return entries;
}

}  // namespace core
