#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "core/crypto/md_engine.h"

namespace core {

using Md4Digest = std::array<std::uint8_t, 16>;

// Streaming MD4; the state is cleared on destruction, as it may have hashed a secret.
class Md4 : public detail::MdEngine {
public:
    Md4();
};

inline Md4Digest Md4Of(std::span<const std::uint8_t> data) {
    return detail::DigestOf<Md4>(data);
}

}  // namespace core
