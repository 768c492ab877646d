#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/crypto/file_key.h"

namespace core {

// A byte buffer that may hold a secret or plain file content: overwritten with zeros before
// its memory is given back.
class SecureBytes {
public:
    explicit SecureBytes(std::size_t size) : bytes_(size) {}
    explicit SecureBytes(std::span<const std::uint8_t> copy) : bytes_(copy.begin(), copy.end()) {}
    ~SecureBytes() { SecureZero(bytes_); }
    SecureBytes(const SecureBytes&) = delete;
    SecureBytes& operator=(const SecureBytes&) = delete;

    std::span<std::uint8_t> Bytes() { return bytes_; }
    std::span<const std::uint8_t> Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace core
