// Arbitrary UTF-16 text through the Base64 decoder. Accepted text must decode to three bytes
// per four digits (rounded down) and to the same bytes once its white space is gone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/text/base64.h"

namespace {

void Require(bool holds) {
    if (!holds) std::abort();
}

bool IsWhiteSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    const auto decoded = core::DecodeBase64(text);
    if (!decoded) return 0;

    std::u16string compact;
    std::size_t digits = 0;
    for (char16_t c : text) {
        if (IsWhiteSpace(c)) continue;
        compact.push_back(c);
        if (c != u'=') ++digits;
    }
    Require(decoded->size() == digits * 6 / 8);
    Require(core::DecodeBase64(compact) == decoded);
    return 0;
}
