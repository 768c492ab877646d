#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "md_engine.h"

namespace core {

using Md5Digest = std::array<std::uint8_t, 16>;

class Md5 {
public:
    Md5();
    ~Md5();  // clears the state: it may have hashed a secret
    void Update(std::span<const std::uint8_t> data);
    Md5Digest Final();  // the object must not be updated afterwards

private:
    detail::MdEngine engine_;
};

Md5Digest Md5Of(std::span<const std::uint8_t> data);

}  // namespace core
