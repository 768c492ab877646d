#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// UTF-16 to UTF-8, cut to at most maxBytes without splitting a character. An unpaired
// surrogate becomes U+FFFD, as the platform's converter does.
std::string Utf16ToUtf8(std::u16string_view text, std::size_t maxBytes = std::string::npos);

}  // namespace core
