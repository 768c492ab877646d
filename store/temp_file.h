#pragma once
#include <string>

// A new, uniquely named empty file in a folder, deleted when the owner ends unless it was
// kept (for example because it has been moved into place).
class CTempFile {
public:
    explicit CTempFile(const std::wstring& folder);
    ~CTempFile();
    CTempFile(const CTempFile&) = delete;
    CTempFile& operator=(const CTempFile&) = delete;

    const std::wstring& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::wstring path_;
};
