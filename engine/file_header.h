#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "core/zte_header.h"
#include "engine/block.h"

// The typed blocks of an encrypted file's header, one per type in ascending order, and the
// header size, which is the offset of the first payload byte.
class CFileHeader {
public:
    virtual ~CFileHeader() = default;

    // Writes magic, header size, blocks and terminator at the handle's position (offset 0 of
    // an empty file).
    HRESULT Write(HANDLE file) const;
    // Reads a header from offset 0: S_OK once the terminator is read within the header size,
    // S_FALSE for a file that is not an encrypted file or whose blocks run past the header
    // size. When a type occurs twice the first block stays.
    HRESULT Read(HANDLE file);
    // The header as a decrypting reader accepts it, by the container's one set of rules;
    // nothing when it is not acceptable.
    std::optional<core::AcceptedHeader> Accept() const;

    const CBlock* FindBlock(std::uint16_t type) const;
    // File offset of that block's type field, or 0 when the header has no such block.
    std::uint16_t GetBlockOffset(std::uint16_t type) const;
    std::uint16_t HeaderSize() const { return headerSize_; }

protected:
    void Insert(CBlock block);
    void SetHeaderSize(std::uint16_t size) { headerSize_ = size; }
    std::vector<core::BlockView> Views() const;

private:
    std::map<std::uint16_t, CBlock> blocks_;
    std::uint16_t headerSize_ = 0;
};
