#include "stored_name.h"

#include <algorithm>

namespace core {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

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

// Separators and the drive colon would leave the folder; the wildcards would reach a
// folder search as a pattern; none of them can be part of a file name on Windows.
bool IsUnsafeUnit(char16_t unit) {
    return unit < 0x20 || unit == 0x7F ||
           std::u16string_view(u"\\/:*?<>|\"").find(unit) != std::u16string_view::npos;
}

char16_t UpperAscii(char16_t unit) {
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

bool SameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               return UpperAscii(x) == UpperAscii(y);
           });
}

// The system opens a device for these names whatever extension follows them (up to the
// first dot, trailing spaces ignored): "NUL.txt" is the null device, "com1 .log" a port.
bool IsDeviceName(std::u16string_view name) {
    std::u16string_view base = name.substr(0, name.find(u'.'));
    while (!base.empty() && base.back() == u' ') base.remove_suffix(1);
    for (std::u16string_view device : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"}) {
        if (SameIgnoringAsciiCase(base, device)) return true;
    }
    if (base.size() != 4) return false;
    const bool port =
        SameIgnoringAsciiCase(base.substr(0, 3), u"COM") || SameIgnoringAsciiCase(base.substr(0, 3), u"LPT");
    return port &&
           std::u16string_view(u"0123456789\u00B9\u00B2\u00B3").find(base[3]) != std::u16string_view::npos;
}

}  // namespace

bool IsSafeStoredName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    // The system drops a final dot or space, so the file would get another name than stored.
    if (name.back() == u'.' || name.back() == u' ') return false;
    return std::none_of(name.begin(), name.end(), IsUnsafeUnit) && !IsDeviceName(name);
}

std::u16string StoredNameFromUtf8(std::span<const std::uint8_t> bytes) {
    std::span<const std::uint8_t> rest(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
    std::u16string name;
    while (!rest.empty()) {
        const Decoded decoded = DecodeOne(rest);
        AppendUtf16(name, decoded.codePoint);
        rest = rest.subspan(decoded.consumed);
    }
    return name;
}

}  // namespace core
