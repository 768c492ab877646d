#pragma once
#include <string>

#include "engine/file_header.h"

// The header that encryption writes: checksum, plain file name and encryption type.
class CStandardHeader : public CFileHeader {
public:
    CStandardHeader() = default;
    CStandardHeader(const std::wstring& fileName, BYTE encryptionType, std::uint32_t checksumLow,
                    std::uint32_t checksumHigh);
};
