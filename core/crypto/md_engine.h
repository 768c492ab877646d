#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace core::detail {

// MD4 and MD5 frame their input the same way: 64-byte blocks, a 0x80 byte and zeros, then the
// message length in bits, little-endian. Only the block function differs, so it is passed in.
class MdEngine {
public:
    using State = std::array<std::uint32_t, 4>;
    using CompressFn = void (*)(State& h, const std::uint8_t* block);

    explicit MdEngine(CompressFn compress);
    ~MdEngine();  // the state may have hashed a secret
    MdEngine(const MdEngine&) = default;
    MdEngine& operator=(const MdEngine&) = default;

    void Update(std::span<const std::uint8_t> data);
    std::array<std::uint8_t, 16> Final();

private:
    CompressFn compress_;
    State h_;
    std::array<std::uint8_t, 64> block_{};
    std::uint64_t length_ = 0;
};

template <class Hash>
std::array<std::uint8_t, 16> DigestOf(std::span<const std::uint8_t> data) {
    Hash hash;
    hash.Update(data);
    return hash.Final();
}

inline std::uint32_t LoadLe32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

}  // namespace core::detail
