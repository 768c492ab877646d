#pragma once
#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// Strings in insertion order, duplicates kept. Subclasses decide what they accept.
class CStringList {
public:
    virtual ~CStringList() = default;
    virtual void Add(std::wstring_view text);

    // The string at that position, or an empty string past the end.
    const std::wstring& GetAt(std::size_t index) const;
    std::size_t Count() const { return items_.size(); }

private:
    std::vector<std::wstring> items_;
};

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

// A set of texts that ignores case: members and looked-up texts are lower-cased first.
class CLowerCaseStringSet : public CStringSet {
public:
    void Add(std::wstring_view text) override;
    bool ContainsIgnoringCase(std::wstring_view text) const { return Contains(Lower(text)); }

    static std::wstring Lower(std::wstring_view text);
};
