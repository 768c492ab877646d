#include "text/integer_text.h"

#include <cwctype>

namespace {

// wsprintfW writes at most this many units, its terminator included.
constexpr std::size_t kFormattedUnits = 1024;

// The position after the integer conversion starting at the "%" at position, or npos when
// what follows is not one.
std::size_t IntegerConversionEnd(const std::wstring& format, std::size_t position) {
    std::size_t end = position + 1;
    while (end < format.size() && (format[end] == L'-' || format[end] == L'0')) ++end;
    while (end < format.size() && std::iswdigit(format[end])) ++end;
    if (end < format.size() && format[end] == L'l') ++end;
    if (end < format.size() && std::wstring_view(L"diuxX").find(format[end]) != std::wstring_view::npos)
        return end + 1;
    return std::wstring::npos;
}

bool HasAtMostOneIntegerConversion(const std::wstring& format) {
    int conversions = 0;
    for (std::size_t i = format.find(L'%'); i != std::wstring::npos; i = format.find(L'%', i)) {
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            i += 2;
            continue;
        }
        i = IntegerConversionEnd(format, i);
        if (i == std::wstring::npos || ++conversions > 1) return false;
    }
    return true;
}

}  // namespace

std::wstring FormatInteger(const std::wstring& format, DWORD value) {
    // The value is at most ten digits or its padding; a text near the limit is left alone so
    // that the formatter never cuts it short.
    if (format.size() > kFormattedUnits / 2 || !HasAtMostOneIntegerConversion(format)) return format;
    wchar_t buffer[kFormattedUnits] = {};
    const int length = ::wsprintfW(buffer, format.c_str(), value);
    return std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}
