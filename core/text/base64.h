#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace core {

// Standard-alphabet Base64 as the system's decoder accepts it: space, tab, CR and LF anywhere
// are skipped; "=" padding (at most two) may only close the text, followed by nothing but
// white space, and then must complete the last group of four. Unpadded text may end in a
// group of two or three characters. Anything else is malformed and gives nothing, so that a
// damaged secret is never half decoded.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::u16string_view text);

}  // namespace core
