#include "core/container/stored_name.h"

#include <algorithm>

#include "core/text/utf8.h"

namespace core {
namespace {

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
    return Utf8ToUtf16(
        bytes.first(static_cast<std::size_t>(std::find(bytes.begin(), bytes.end(), 0) - bytes.begin())));
}

bool IsWritableStoredName(std::string_view utf8) {
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size());
    const std::u16string name = Utf8ToUtf16(bytes);
    return IsSafeStoredName(name) && Utf16ToUtf8(name) == utf8;
}

}  // namespace core
