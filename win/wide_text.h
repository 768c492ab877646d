#pragma once
#include <string>
#include <string_view>

// wchar_t and char16_t hold the same UTF-16 units on Windows; the portable code speaks
// char16_t, the system wchar_t.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::u16string ToU16(std::wstring_view text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}
inline std::u16string_view AsU16(std::wstring_view text) {
    return std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size());
}
inline std::wstring ToWide(std::u16string_view text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}
