#pragma once
#include <windows.h>

#include <string>

#include "win/unique_handle.h"

// The access rules (DACL) and group of an existing file, as security attributes for a file
// created from it: the output of a file is protected like its input from its first byte.
class CSourceSecurity {
public:
    explicit CSourceSecurity(const std::wstring& source);
    CSourceSecurity(const CSourceSecurity&) = delete;
    CSourceSecurity& operator=(const CSourceSecurity&) = delete;

    // Null when the source's security could not be read: create without it.
    SECURITY_ATTRIBUTES* Attributes() { return valid_ ? &attributes_ : nullptr; }

private:
    bool Load(const std::wstring& source);

    LocalMemory daclDescriptor_;
    LocalMemory groupDescriptor_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool valid_ = false;
};
