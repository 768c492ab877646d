#include "text/lower_case_string_set.h"

#include <windows.h>

void CLowerCaseStringSet::Add(std::wstring_view text) {
    CStringSet::Add(Lower(text));
}

std::wstring CLowerCaseStringSet::Lower(std::wstring_view text) {
    std::wstring lower(text);
    if (!lower.empty()) ::CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}
