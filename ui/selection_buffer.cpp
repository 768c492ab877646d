#include "ui/selection_buffer.h"

#include <algorithm>
#include <string>
#include <vector>

#include "win/path_parts.h"

namespace {

// The zero-terminated strings up to the first empty one; a string the buffer cuts short
// ends the list.
std::vector<std::wstring> Strings(std::span<const wchar_t> buffer) {
    std::vector<std::wstring> strings;
    auto begin = buffer.begin();
    while (begin != buffer.end() && *begin != L'\0') {
        const auto end = std::find(begin, buffer.end(), L'\0');
        if (end == buffer.end()) break;
        strings.emplace_back(begin, end);
        begin = end + 1;
    }
    return strings;
}

}  // namespace

void AppendSelection(std::span<const wchar_t> buffer, CStringList& paths) {
    const std::vector<std::wstring> strings = Strings(buffer);
    if (strings.size() == 1) {
        paths.Add(strings.front());
        return;
    }
    for (std::size_t i = 1; i < strings.size(); ++i) paths.Add(JoinPath(strings.front(), strings[i]));
}
