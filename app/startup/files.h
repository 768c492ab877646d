#pragma once
#include <string_view>

#include "text/string_list.h"

// The paths of a command line, in the order met; only paths that exist are taken.
class CFiles {
public:
    // True when the path was appended. It is kept exactly as given, so a wildcard pattern
    // that matches something stays the pattern.
    bool Add(std::wstring_view path);

    const CStringList& Paths() const { return paths_; }

private:
    CStringList paths_;
};
