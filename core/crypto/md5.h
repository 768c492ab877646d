#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "core/crypto/md_engine.h"

namespace core {

using Md5Digest = std::array<std::uint8_t, 16>;

// Streaming MD5; the state is cleared on destruction, as it may have hashed a secret.
class Md5 : public detail::MdEngine {
public:
    Md5();
};

inline Md5Digest Md5Of(std::span<const std::uint8_t> data) {
    return detail::DigestOf<Md5>(data);
}

}  // namespace core
