#include "core/container/unfinished_name.h"

#include <algorithm>

namespace core {

namespace {

constexpr std::u16string_view kMarker = u".~zt-unfinished-";
// The longest attempt number: ten digits.
constexpr std::size_t kLongestSuffix = kMarker.size() + 10;

std::u16string Decimal(unsigned value) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

// The part of the final name that the unfinished name keeps.
std::u16string_view KeptPart(std::u16string_view finalName, std::size_t maxLength) {
    const std::size_t room = maxLength > kLongestSuffix ? maxLength - kLongestSuffix : 1;
    return finalName.substr(0, room);
}

char16_t AsciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool SameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return AsciiUpper(x) == AsciiUpper(y); });
}

// The final part of the name after the marker, or npos when the name does not end in a
// marker and an attempt number.
std::size_t MarkerPosition(std::u16string_view name) {
    std::size_t digits = 0;
    while (digits < name.size() && name[name.size() - 1 - digits] >= u'0' &&
           name[name.size() - 1 - digits] <= u'9')
        ++digits;
    if (digits == 0 || digits > 10 || name.size() < digits + kMarker.size() + 1)
        return std::u16string_view::npos;
    const std::size_t marker = name.size() - digits - kMarker.size();
    return SameIgnoringAsciiCase(name.substr(marker, kMarker.size()), kMarker) ? marker
                                                                               : std::u16string_view::npos;
}

}  // namespace

std::u16string UnfinishedName(std::u16string_view finalName, unsigned attempt, std::size_t maxLength) {
    std::u16string name(KeptPart(finalName, maxLength));
    name += kMarker;
    name += Decimal(attempt);
    return name;
}

std::u16string UnfinishedNamesPattern() {
    return u"*" + std::u16string(kMarker) + u"*";
}

bool IsUnfinishedName(std::u16string_view name) {
    return MarkerPosition(name) != std::u16string_view::npos;
}

std::u16string_view KeptNameOf(std::u16string_view unfinishedName) {
    const std::size_t marker = MarkerPosition(unfinishedName);
    return marker == std::u16string_view::npos ? std::u16string_view() : unfinishedName.substr(0, marker);
}

bool IsUnfinishedNameOf(std::u16string_view name, std::u16string_view finalName, std::size_t maxLength) {
    const std::size_t marker = MarkerPosition(name);
    return marker != std::u16string_view::npos &&
           SameIgnoringAsciiCase(name.substr(0, marker), KeptPart(finalName, maxLength));
}

}  // namespace core
