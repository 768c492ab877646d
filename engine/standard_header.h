#pragma once
#include <string>

#include "engine/file_header.h"

// The header that encryption writes: checksum, plain file name and encryption type.
class CStandardHeader : public CFileHeader {
public:
    CStandardHeader() = default;
    CStandardHeader(const std::wstring& fileName, BYTE encryptionType, std::uint32_t checksumLow,
                    std::uint32_t checksumHigh);

    // The stored plain file name. False when the header has none, or when it is anything but a
    // plain final path component: the name comes from the file and is joined to a folder.
    bool GetFileName(std::wstring& name) const;
};
