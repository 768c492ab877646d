#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace core {

using TeaKey = std::array<std::uint32_t, 4>;
using TeaBlock = std::array<std::uint32_t, 2>;

// TEA, 32 rounds. In this variant the right shifts by 5 are arithmetic: the halves are treated
// as signed 32-bit values, so a set top bit is copied into the vacated bits.
TeaBlock TeaEncipher(TeaBlock block, const TeaKey& key);

// XORs data with the keystream that starts from initial: every 8 bytes of it are the next
// encipherment of the state, first half then second half, each little-endian. The stream is
// restarted at every call, so enciphering and deciphering are the same call.
void TeaKeystreamXor(std::span<std::uint8_t> data, const TeaKey& key, TeaBlock initial);

}  // namespace core
