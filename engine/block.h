#pragma once
#include <windows.h>

#include <cstdint>
#include <span>

// One typed block of an encrypted file's header. The data is a private copy held in COM
// task memory; an empty block has type 0, length 0 and no data.
class CBlock {
public:
    CBlock() = default;
    CBlock(std::uint16_t type, std::span<const BYTE> data);
    CBlock(const CBlock& other);
    CBlock& operator=(const CBlock& other);
    CBlock(CBlock&& other) noexcept;
    CBlock& operator=(CBlock&& other) noexcept;
    virtual ~CBlock();

    std::uint16_t Type() const { return type_; }
    std::uint16_t Length() const { return length_; }
    const BYTE* Data() const { return data_; }
    std::span<const BYTE> Bytes() const { return {data_, length_}; }

private:
    void Assign(std::uint16_t type, std::span<const BYTE> data);
    void Free();

    std::uint16_t type_ = 0;
    std::uint16_t length_ = 0;
    BYTE* data_ = nullptr;
};

class CCheckSumBlock : public CBlock {
public:
    CCheckSumBlock(std::uint32_t low, std::uint32_t high);
};

class CFileNameBlock : public CBlock {
public:
    explicit CFileNameBlock(const char* utf8Name);
};

class CEncryptionTypeBlock : public CBlock {
public:
    explicit CEncryptionTypeBlock(BYTE type);
};
