#include "engine/block.h"

#include <objbase.h>

#include <cstring>
#include <utility>

#include "core/zte_header.h"
#include "win/hresult.h"

CBlock::CBlock(std::uint16_t type, std::span<const BYTE> data) {
    Assign(type, data);
}

CBlock::CBlock(const CBlock& other) {
    Assign(other.type_, other.Bytes());
}

CBlock& CBlock::operator=(const CBlock& other) {
    if (this != &other) {
        CBlock copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CBlock::CBlock(CBlock&& other) noexcept
    : type_(std::exchange(other.type_, 0)),
      length_(std::exchange(other.length_, 0)),
      data_(std::exchange(other.data_, nullptr)) {}

CBlock& CBlock::operator=(CBlock&& other) noexcept {
    if (this != &other) {
        Free();
        type_ = std::exchange(other.type_, 0);
        length_ = std::exchange(other.length_, 0);
        data_ = std::exchange(other.data_, nullptr);
    }
    return *this;
}

CBlock::~CBlock() {
    Free();
}

void CBlock::Assign(std::uint16_t type, std::span<const BYTE> data) {
    if (data.size() > 0xFFFF) ThrowHr(E_INVALIDARG);
    type_ = type;
    length_ = static_cast<std::uint16_t>(data.size());
    if (data.empty()) return;
    data_ = static_cast<BYTE*>(::CoTaskMemAlloc(data.size()));
    if (!data_) ThrowHr(E_OUTOFMEMORY);
    std::memcpy(data_, data.data(), data.size());
}

void CBlock::Free() {
    ::CoTaskMemFree(data_);
    data_ = nullptr;
}

CCheckSumBlock::CCheckSumBlock(std::uint32_t low, std::uint32_t high)
    : CBlock(core::kChecksumBlock, core::EncodeChecksum((std::uint64_t{high} << 32) | low)) {}

CFileNameBlock::CFileNameBlock(const char* utf8Name)
    : CBlock(core::kFileNameBlock,
             std::span(reinterpret_cast<const BYTE*>(utf8Name), std::strlen(utf8Name))) {}

CEncryptionTypeBlock::CEncryptionTypeBlock(BYTE type)
    : CBlock(core::kEncryptionTypeBlock, std::span(&type, 1)) {}
