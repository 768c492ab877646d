#include "win/long_path.h"

#include <windows.h>

#include "core/text/extended_length_path.h"
#include "win/sized_text.h"
#include "win/wide_text.h"

namespace {

// The system's own normalisation ("/" to "\", "." and ".." resolved, the current folder
// prefixed). The path itself when the call fails: the file function it goes to then gives
// the error.
std::wstring FullPathOf(const std::wstring& path) {
    std::wstring full = SizedText(
        [&](wchar_t* text, DWORD units) { return ::GetFullPathNameW(path.c_str(), units, text, nullptr); });
    return full.empty() ? path : full;
}

// The short form of an extended-length path, in the same form; empty when it has none.
std::wstring ShortFormOf(const std::wstring& extended) {
    return SizedText(
        [&](wchar_t* text, DWORD units) { return ::GetShortPathNameW(extended.c_str(), text, units); });
}

}  // namespace

std::wstring LongPathForm(const std::wstring& path) {
    const std::wstring full = FullPathOf(path);
    if (full.size() <= core::kLongestPlainPath) return path;
    return ToWide(core::ExtendedLengthPath(AsU16(full)));
}

std::wstring PlainPathForm(const std::wstring& path) {
    const std::wstring form = LongPathForm(path);
    if (!form.starts_with(LR"(\\?\)")) return path;
    const std::wstring plain = ToWide(core::PlainFormOf(AsU16(ShortFormOf(form))));
    return plain.size() < MAX_PATH ? plain : std::wstring();
}
