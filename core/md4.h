#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace core {

using Md4Digest = std::array<std::uint8_t, 16>;

class Md4 {
public:
    Md4();
    ~Md4();  // clears the state: it may have hashed a password
    void Update(std::span<const std::uint8_t> data);
    Md4Digest Final();  // the object must not be updated afterwards

private:
    std::array<std::uint32_t, 4> h_;
    std::array<std::uint8_t, 64> block_{};
    std::uint64_t length_ = 0;
};

Md4Digest Md4Of(std::span<const std::uint8_t> data);

}  // namespace core
