#pragma once
#include <windows.h>

#include <string>

// Text from a call of the system's common convention (GetFullPathName, GetEnvironmentVariable,
// GetSystemDirectory, ...): given room for `units` units it answers the length it wrote,
// without the terminator, or, when the room is too small, the units it needs, with it; 0 on
// failure. Sized from what the call asks for, and asked again when the answer grew between
// the calls. Empty on failure.
template <class Call>
std::wstring SizedText(Call call) {
    DWORD units = static_cast<DWORD>(call(nullptr, 0));
    while (units != 0) {
        std::wstring text(units, L'\0');
        const auto written = static_cast<DWORD>(call(text.data(), units));
        if (written < units) {
            text.resize(written);
            return text;
        }
        units = written;
    }
    return {};
}
