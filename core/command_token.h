#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

namespace core {

// The token of a command line at position, which then moves past the token, the quotation
// marks right after it and the spaces after those. A token that starts with a quotation mark
// runs to the next one (or the end) without the marks; any other token runs to the next
// space, quotation marks included. Only the space separates, and there is no escape
// character. Nothing at the end of the line.
std::optional<std::u16string_view> NextToken(std::u16string_view line, std::size_t& position);

}  // namespace core
