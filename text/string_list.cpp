#include "text/string_list.h"

void CStringList::Add(std::wstring_view text) {
    items_.emplace_back(text);
}

const std::wstring& CStringList::GetAt(std::size_t index) const {
    static const std::wstring empty;
    return index < items_.size() ? items_[index] : empty;
}
