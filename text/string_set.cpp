#include "text/string_set.h"

void CStringSet::Add(std::wstring_view text) {
    items_.emplace(text);
}
