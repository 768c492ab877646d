#include "core/crypto/md_engine.h"

#include <algorithm>
#include <cstddef>

#include "core/crypto/file_key.h"

namespace core::detail {
namespace {

constexpr std::size_t kBlockSize = 64;
// Where the length field starts in the last block.
constexpr std::size_t kLengthOffset = 56;

template <class T, std::size_t N>
void Wipe(std::array<T, N>& values) {
    SecureZero({reinterpret_cast<std::uint8_t*>(values.data()), sizeof(values)});
}

}  // namespace

// Both algorithms start from the same chaining values.
MdEngine::MdEngine(CompressFn compress)
    : compress_(compress), h_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {}

MdEngine::~MdEngine() {
    Wipe(h_);
    Wipe(block_);
    length_ = 0;
}

void MdEngine::Update(std::span<const std::uint8_t> data) {
    const std::size_t used = length_ % kBlockSize;
    length_ += data.size();
    if (used != 0) {
        const std::size_t take = std::min(kBlockSize - used, data.size());
        std::copy_n(data.begin(), take, block_.begin() + used);
        data = data.subspan(take);
        if (used + take < kBlockSize) return;
        compress_(h_, block_.data());
    }
    // Whole blocks are hashed where they lie rather than copied through block_.
    for (; data.size() >= kBlockSize; data = data.subspan(kBlockSize)) compress_(h_, data.data());
    std::copy(data.begin(), data.end(), block_.begin());
}

std::array<std::uint8_t, 16> MdEngine::Final() {
    std::uint64_t bits = length_ * 8;
    std::array<std::uint8_t, kBlockSize + 8> tail{0x80};
    const std::size_t used = length_ % kBlockSize;
    const std::size_t padding = (used < kLengthOffset ? kLengthOffset : kBlockSize + kLengthOffset) - used;
    for (std::size_t i = 0; i < 8; ++i, bits >>= 8) tail[padding + i] = static_cast<std::uint8_t>(bits);
    Update(std::span(tail).first(padding + 8));

    std::array<std::uint8_t, 16> digest;
    for (std::size_t i = 0; i < digest.size(); ++i) {
        digest[i] = static_cast<std::uint8_t>(h_[i / 4] >> (8 * (i % 4)));
    }
    return digest;
}

}  // namespace core::detail
