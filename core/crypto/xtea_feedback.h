#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace core {

using XteaBlock = std::array<std::uint32_t, 2>;
using ObfuscationKey = std::array<std::uint8_t, 16>;

// XTEA, 32 rounds, as the obfuscated-password format uses it: the right shifts of the halves
// by 5 are arithmetic, and the key words are the key's first four bytes taken one by one, so
// the last twelve bytes of the key never take part.
XteaBlock XteaVariantEncipher(XteaBlock block, const ObfuscationKey& key);

// A block as 8 bytes: first half then second, each little-endian.
XteaBlock XteaBlockFromBytes(std::span<const std::uint8_t, 8> bytes);
std::array<std::uint8_t, 8> XteaBlockBytes(XteaBlock block);

// 64-bit cipher feedback: the keystream of each 8 bytes is the encipherment of the previous
// 8 ciphertext bytes (the initial vector for the first), first half then second, little-endian.
// The last block may be short. Deciphering writes into plain, which must be as long as cipher.
void XteaFeedbackDecipher(std::span<const std::uint8_t> cipher, const ObfuscationKey& key, XteaBlock iv,
                          std::span<std::uint8_t> plain);
std::vector<std::uint8_t> XteaFeedbackEncipher(std::span<const std::uint8_t> plain, const ObfuscationKey& key,
                                               XteaBlock iv);

}  // namespace core
