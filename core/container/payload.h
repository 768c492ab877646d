#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/crypto/rc4.h"

namespace core {

// The payload is enciphered in chunks of this size, each from the key's initial state.
inline constexpr std::size_t kChunkSize = 1024;

// Enciphers (or deciphers) data that starts on a chunk boundary: every kChunkSize bytes the
// key stream restarts. Callers may pass any number of whole chunks plus one partial last one.
void CipherChunks(Rc4& key, std::span<std::uint8_t> data);

// The container's checksum: the sum of all plaintext bytes, modulo 2^64.
std::uint64_t AddToChecksum(std::uint64_t sum, std::span<const std::uint8_t> plain);

}  // namespace core
