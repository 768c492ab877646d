#include "file_key.h"

#include "md5.h"

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
    // Stores through a volatile pointer count as observable, so they survive even when the
    // bytes are never read again, as in a destructor.
    volatile std::uint8_t* p = bytes.data();
    for (std::size_t i = 0; i < bytes.size(); ++i) p[i] = 0;
}

}  // namespace core
