#pragma once
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace core {

// Fills a resource text's "%s" (or "%ls") conversions with the arguments in order; "%%"
// gives "%". Translated texts are data, so nothing else is interpreted: a conversion without
// an argument left gives an empty text, and any other "%" sequence stays as written.
std::u16string FormatText(std::u16string_view format, std::initializer_list<std::u16string_view> args);

// At most maxUnits code units of text, never ending in the first half of a surrogate pair.
std::u16string_view TruncateText(std::u16string_view text, std::size_t maxUnits);

}  // namespace core
