#pragma once
#include <string>
#include <string_view>

#include "text/string_set.h"

// A set of texts that ignores case: members and looked-up texts are lower-cased first.
class CLowerCaseStringSet : public CStringSet {
public:
    void Add(std::wstring_view text) override;
    bool ContainsIgnoringCase(std::wstring_view text) const { return Contains(Lower(text)); }

    static std::wstring Lower(std::wstring_view text);
};
