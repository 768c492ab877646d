#include "core/text/utf8.h"

#include <cstdint>
#include <span>

namespace core {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Decodes the code point at text[i] and advances i past it.
char32_t NextCodePoint(std::u16string_view text, std::size_t& i) {
    const char16_t unit = text[i++];
    if (IsHighSurrogate(unit) && i < text.size() && IsLowSurrogate(text[i])) {
        const char16_t low = text[i++];
        return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(low) - 0xDC00);
    }
    if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) return kReplacement;
    return unit;
}

std::string Encode(char32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
    return out;
}

// How many bytes a lead byte announces, and the range its first continuation byte must be
// in. Narrowing that one range is what rules out overlong forms, surrogates encoded in
// UTF-8 and values above U+10FFFF.
struct Lead {
    std::size_t length;  // 0: the byte cannot start a sequence
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
};

Lead LeadOf(std::uint8_t byte) {
    if (byte < 0xC2) return {0};  // continuation bytes, and C0/C1 which only start overlong forms
    if (byte < 0xE0) return {2};
    if (byte == 0xE0) return {3, 0xA0};
    if (byte == 0xED) return {3, 0x80, 0x9F};
    if (byte < 0xF0) return {3};
    if (byte == 0xF0) return {4, 0x90};
    if (byte < 0xF4) return {4};
    if (byte == 0xF4) return {4, 0x80, 0x8F};
    return {0};
}

struct Decoded {
    char32_t codePoint;
    std::size_t consumed;
};

// An ill-formed sequence gives one U+FFFD for its longest well-formed prefix (at least one
// byte), Unicode's recommended practice, so the byte after it starts afresh.
Decoded DecodeOne(std::span<const std::uint8_t> bytes) {
    if (bytes[0] < 0x80) return {bytes[0], 1};
    const Lead lead = LeadOf(bytes[0]);
    if (lead.length == 0) return {kReplacement, 1};
    char32_t codePoint = bytes[0] & (0xFF >> (lead.length + 1));
    for (std::size_t i = 1; i < lead.length; ++i) {
        const std::uint8_t low = i == 1 ? lead.low : 0x80;
        const std::uint8_t high = i == 1 ? lead.high : 0xBF;
        if (i == bytes.size() || bytes[i] < low || bytes[i] > high) return {kReplacement, i};
        codePoint = codePoint << 6 | (bytes[i] & 0x3F);
    }
    return {codePoint, lead.length};
}

void AppendUtf16(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    const char32_t offset = codePoint - 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text, std::size_t maxBytes) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::string bytes = Encode(NextCodePoint(text, i));
        if (out.size() + bytes.size() > maxBytes) break;
        out += bytes;
    }
    return out;
}

std::u16string Utf8ToUtf16(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    // Never more units than bytes: reserving them up front means the text is never moved while
    // it grows, so a password decoded here leaves no stray copy in freed memory.
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const Decoded decoded = DecodeOne(bytes);
        AppendUtf16(text, decoded.codePoint);
        bytes = bytes.subspan(decoded.consumed);
    }
    return text;
}

}  // namespace core
