#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace core {

using Md5Digest = std::array<std::uint8_t, 16>;

class Md5 {
public:
    Md5();
    ~Md5();  // clears the state: it may have hashed a secret
    void Update(std::span<const std::uint8_t> data);
    Md5Digest Final();  // the object must not be updated afterwards

private:
    std::array<std::uint32_t, 4> h_;
    std::array<std::uint8_t, 64> block_{};
    std::uint64_t length_ = 0;
};

Md5Digest Md5Of(std::span<const std::uint8_t> data);

}  // namespace core
