#include "stored_name.h"

#include <algorithm>

#include "utf8.h"

namespace core {
namespace {

bool IsUnsafeUnit(char16_t unit) {
    return unit < 0x20 || unit == 0x7F || unit == u'\\' || unit == u'/' || unit == u':';
}

}  // namespace

bool IsSafeStoredName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    return std::none_of(name.begin(), name.end(), IsUnsafeUnit);
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
