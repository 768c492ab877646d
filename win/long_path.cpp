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

}  // namespace

std::wstring LongPathForm(const std::wstring& path) {
    const std::wstring full = FullPathOf(path);
    if (full.size() <= core::kLongestPlainPath) return path;
    return ToWide(core::ExtendedLengthPath(AsU16(full)));
}
