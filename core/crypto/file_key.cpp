#include "core/crypto/file_key.h"

#include <cstring>

#include "core/crypto/md5.h"

namespace core {

// The base provider keeps 40 bits of the digest; the rest of the key is its zero salt.
constexpr std::size_t kBaseKeyBytes = 5;

FileKeyBytes DeriveFileKey(std::span<const std::uint8_t> secret, Provider provider) {
    FileKeyBytes key = Md5Of(secret);
    if (provider == Provider::Base) SecureZero(std::span(key).subspan(kBaseKeyBytes));
    return key;
}

Rc4 PayloadKey(std::span<const std::uint8_t> secret, bool compatibility) {
    FileKeyBytes key = DeriveFileKey(secret, compatibility ? Provider::Base : Provider::Enhanced);
    Rc4 cipher(key);
    SecureZero(key);
    return cipher;
}

void SecureZero(std::span<std::uint8_t> bytes) {
    if (bytes.empty()) return;
    std::memset(bytes.data(), 0, bytes.size());
    // As far as the optimiser knows, the empty assembly reads the bytes, so the stores above
    // survive even when the bytes are never read again, as in a destructor. Unlike stores
    // through a volatile pointer, one byte at a time, this zeroes buffers at memory speed.
    __asm__ __volatile__("" : : "r"(bytes.data()) : "memory");
}

}  // namespace core
