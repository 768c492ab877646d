#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace core {

// A field that is a decimal number and nothing else: digits only, no sign or blanks, within
// the range of int. Nothing for any other text.
std::optional<int> DecimalNumber(std::u16string_view text);

// The decimal number a setting's text starts with: leading blanks, an optional sign, then
// digits; whatever follows is ignored. Nothing when there are no digits. Values beyond the
// 32-bit range saturate, so a huge number keeps its sign.
std::optional<std::int32_t> LeadingInteger(std::u16string_view text);

}  // namespace core
