#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "md_engine.h"

namespace core {

using Md4Digest = std::array<std::uint8_t, 16>;

class Md4 {
public:
    Md4();
    ~Md4();  // clears the state: it may have hashed a password
    void Update(std::span<const std::uint8_t> data);
    Md4Digest Final();  // the object must not be updated afterwards

private:
    detail::MdEngine engine_;
};

Md4Digest Md4Of(std::span<const std::uint8_t> data);

}  // namespace core
