#include "core/text/char_refs.h"

#include <cstdint>
#include <optional>

namespace core {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// The characters of XML 1.0 from U+0080 up.
bool IsXmlCharAbove7F(char32_t cp) {
    return (cp >= 0x80 && cp < 0xD800) || (cp >= 0xE000 && cp <= 0xFFFD) ||
           (cp >= 0x10000 && cp <= kLastCodePoint);
}

// The code point at xml[i], advancing i past it; unpaired surrogates come back as they are.
char32_t NextCodePoint(std::u16string_view xml, std::size_t& i) {
    const char32_t unit = xml[i++];
    if (IsHighSurrogate(unit) && i < xml.size() && IsLowSurrogate(xml[i])) {
        const char32_t low = xml[i++];
        return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    return unit;
}

bool Kept(char32_t cp, const Latin1Coverage& kept) {
    return cp < 0x80 || (cp < 0x100 && kept.test(cp - 0x80));
}

void AppendReference(std::u16string& out, char32_t cp) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    int shift = 12;  // at least four digits
    while ((cp >> (shift + 4)) != 0) shift += 4;
    out += u"&#x";
    for (; shift >= 0; shift -= 4) out += kDigits[(cp >> shift) & 0xF];
    out += u';';
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
        return;
    }
    out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
}

int DigitValue(char16_t c, unsigned base) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (base == 16 && c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (base == 16 && c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

struct Reference {
    char32_t codePoint;
    std::size_t length;
};

// A character reference "&#x...;" or "&#...;" at xml[at], if one starts there. Values past
// the last code point are capped, so that they are refused without overflowing.
std::optional<Reference> ReferenceAt(std::u16string_view xml, std::size_t at) {
    if (xml.substr(at, 2) != u"&#") return std::nullopt;
    std::size_t i = at + 2;
    const unsigned base = (i < xml.size() && xml[i] == u'x') ? 16 : 10;
    if (base == 16) ++i;
    const std::size_t firstDigit = i;
    char32_t value = 0;
    for (int digit; i < xml.size() && (digit = DigitValue(xml[i], base)) >= 0; ++i) {
        value = value > kLastCodePoint ? value : value * base + static_cast<char32_t>(digit);
    }
    if (i == firstDigit || i >= xml.size() || xml[i] != u';') return std::nullopt;
    return Reference{value, i + 1 - at};
}

}  // namespace

std::u16string EncodeCharRefs(std::u16string_view xml, const Latin1Coverage& kept) {
    std::u16string out;
    out.reserve(xml.size());
    for (std::size_t i = 0; i < xml.size();) {
        const char32_t cp = NextCodePoint(xml, i);
        if (Kept(cp, kept)) {
            out += static_cast<char16_t>(cp);
        } else {
            AppendReference(out, IsXmlCharAbove7F(cp) ? cp : kReplacement);
        }
    }
    return out;
}

std::u16string DecodeCharRefs(std::u16string_view xml) {
    std::u16string out;
    out.reserve(xml.size());
    for (std::size_t i = 0; i < xml.size();) {
        const std::optional<Reference> ref = ReferenceAt(xml, i);
        if (ref && IsXmlCharAbove7F(ref->codePoint)) {
            AppendCodePoint(out, ref->codePoint);
            i += ref->length;
        } else {
            out += xml[i++];
        }
    }
    return out;
}

}  // namespace core
