#pragma once
#include <string>

// The folder and a name in it, with one separator between them also when the folder is a
// drive's root and already ends in one.
inline std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    const bool separated = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
    return separated ? folder + name : folder + L"\\" + name;
}
