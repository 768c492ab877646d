#pragma once
#include <optional>
#include <string_view>

namespace core {

// A field that is a decimal number and nothing else: digits only, no sign or blanks, within
// the range of int. Nothing for any other text.
std::optional<int> DecimalNumber(std::u16string_view text);

}  // namespace core
