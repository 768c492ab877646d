#pragma once
#include <cstddef>
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
