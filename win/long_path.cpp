#include "win/long_path.h"

#include <windows.h>

#include "core/text/extended_length_path.h"
#include "win/wide_text.h"

namespace {

// The system's own normalisation ("/" to "\", "." and ".." resolved, the current folder
// prefixed), sized from what the call asks for. The path itself when the call fails: the
// file function it goes to then gives the error.
std::wstring FullPathOf(const std::wstring& path) {
    DWORD units = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    while (units != 0) {
        std::wstring full(units, L'\0');
        const DWORD written = ::GetFullPathNameW(path.c_str(), units, full.data(), nullptr);
        if (written < units) {
            full.resize(written);
            return full;
        }
        units = written;  // the current folder changed between the calls
    }
    return path;
}

// The short form of an extended-length path, in the same form; empty when it has none.
std::wstring ShortFormOf(const std::wstring& extended) {
    DWORD units = ::GetShortPathNameW(extended.c_str(), nullptr, 0);
    while (units != 0) {
        std::wstring shortForm(units, L'\0');
        const DWORD written = ::GetShortPathNameW(extended.c_str(), shortForm.data(), units);
        if (written < units) {
            shortForm.resize(written);
            return shortForm;
        }
        units = written;
    }
    return {};
}

std::wstring WithoutExtendedPrefix(const std::wstring& path) {
    if (path.starts_with(LR"(\\?\UNC\)")) return LR"(\\)" + path.substr(8);
    if (path.starts_with(LR"(\\?\)")) return path.substr(4);
    return path;
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
    const std::wstring plain = WithoutExtendedPrefix(ShortFormOf(form));
    return plain.size() < MAX_PATH ? plain : std::wstring();
}
