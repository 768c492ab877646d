#pragma once
#include <set>
#include <string>
#include <string_view>

// An ordered set compared code unit by code unit, case-sensitive, a prefix before the
// longer string.
class CStringSet {
public:
    virtual ~CStringSet() = default;
    // Adding a member that is already present changes nothing.
    virtual void Add(std::wstring_view text);

    bool Contains(std::wstring_view text) const { return items_.find(text) != items_.end(); }
    std::size_t Count() const { return items_.size(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    // wchar_t is an unsigned 16-bit code unit on Windows, so the standard ordering is the one
    // wanted.
    std::set<std::wstring, std::less<>> items_;
};
