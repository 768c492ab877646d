#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "core/crypto/rc4.h"

namespace core {

// The two CryptoAPI providers the files are written with. CryptDeriveKey(CALG_RC4) over an
// MD5 hash gives the enhanced provider's 128-bit key as the whole digest, and the base
// provider's 40-bit key as the first 5 digest bytes followed by 11 zero bytes of salt,
// all 16 bytes fed to the RC4 key schedule.
enum class Provider { Enhanced, Base };

using FileKeyBytes = std::array<std::uint8_t, 16>;

FileKeyBytes DeriveFileKey(std::span<const std::uint8_t> secret, Provider provider);

// The payload cipher for a file: the primary key is the enhanced provider's, the
// compatibility key (encryption types other than 1) the base provider's.
Rc4 PayloadKey(std::span<const std::uint8_t> secret, bool compatibility);

// Overwrites a secret's bytes in a way the optimiser may not drop.
void SecureZero(std::span<std::uint8_t> bytes);

}  // namespace core
