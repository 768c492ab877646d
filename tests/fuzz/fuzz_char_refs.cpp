// Arbitrary text through the character-reference codec and the indentation removal, as the
// decrypted-items store runs them on serialised XML. Any broken property aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/text/char_refs.h"
#include "core/text/xml_indentation.h"

namespace {

void Require(bool holds) {
    if (!holds) std::abort();
}

bool IsSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDFFF;
}

// The text as the serialiser would escape it: a literal '&' never starts a reference.
std::u16string EscapeAmpersands(std::u16string_view text) {
    std::u16string out;
    for (char16_t c : text) out += c == u'&' ? std::u16string_view(u"&amp;") : std::u16string_view(&c, 1);
    return out;
}

// What the file can hold of the text: characters XML refuses become U+FFFD.
std::u16string Representable(std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        const bool pair = u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
        if (pair) {
            out += text.substr(i++, 2);
        } else {
            out += (IsSurrogate(u) || u == 0xFFFE || u == 0xFFFF) ? char16_t(0xFFFD) : u;
        }
    }
    return out;
}

bool FitsCodePage(std::u16string_view text, const core::Latin1Coverage& kept) {
    for (char16_t c : text) {
        if (c >= 0x100 || (c >= 0x80 && !kept.test(c - 0x80))) return false;
    }
    return true;
}

std::u16string WithoutWhiteSpace(std::u16string_view text) {
    std::u16string out;
    for (char16_t c : text) {
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n') out += c;
    }
    return out;
}

}  // namespace

// The first 16 bytes choose the code page's Latin-1 coverage; the rest is UTF-16LE text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kCoverageBytes = 16;
    if (size < kCoverageBytes) return 0;
    core::Latin1Coverage kept;
    for (std::size_t bit = 0; bit < kept.size(); ++bit) kept[bit] = (data[bit / 8] >> (bit % 8)) & 1;
    std::u16string text;
    for (std::size_t i = kCoverageBytes; i + 1 < size; i += 2) text += char16_t(data[i] | data[i + 1] << 8);

    Require(core::DecodeCharRefs(text).size() <= text.size());

    const std::u16string compact = core::RemoveIndentation(text);
    Require(WithoutWhiteSpace(compact) == WithoutWhiteSpace(text));
    Require(core::RemoveIndentation(compact) == compact);

    const std::u16string escaped = EscapeAmpersands(text);
    const std::u16string encoded = core::EncodeCharRefs(escaped, kept);
    Require(FitsCodePage(encoded, kept));
    Require(core::DecodeCharRefs(encoded) == Representable(escaped));
    Require(core::EncodeCharRefs(core::DecodeCharRefs(encoded), kept) == encoded);
    return 0;
}
