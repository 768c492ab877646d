#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace core {

// UTF-16 to UTF-8, cut to at most maxBytes without splitting a character. An unpaired
// surrogate becomes U+FFFD, as the platform's converter does.
std::string Utf16ToUtf8(std::u16string_view text, std::size_t maxBytes = std::string::npos);

// UTF-8 to UTF-16. An ill-formed sequence becomes one U+FFFD for its longest well-formed
// prefix, as the platform's converter does; a 0 byte is kept as a character.
std::u16string Utf8ToUtf16(std::span<const std::uint8_t> bytes);

}  // namespace core
