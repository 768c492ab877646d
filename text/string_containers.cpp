#include "text/string_containers.h"

#include <windows.h>

void CStringList::Add(std::wstring_view text) {
    items_.emplace_back(text);
}

const std::wstring& CStringList::GetAt(std::size_t index) const {
    static const std::wstring empty;
    return index < items_.size() ? items_[index] : empty;
}

void CStringSet::Add(std::wstring_view text) {
    items_.emplace(text);
}

void CLowerCaseStringSet::Add(std::wstring_view text) {
    CStringSet::Add(Lower(text));
}

std::wstring CLowerCaseStringSet::Lower(std::wstring_view text) {
    std::wstring lower(text);
    if (!lower.empty()) ::CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}
