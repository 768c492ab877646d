#include "core/crypto/md4.h"

#include <bit>
#include <cstddef>

namespace core {
namespace {

// The order in which each of the three rounds visits the message words.
constexpr std::array<std::uint8_t, 48> kWordOrder = {
    0, 1, 2, 3,  4, 5,  6, 7,  8, 9, 10, 11, 12, 13, 14, 15,  //
    0, 4, 8, 12, 1, 5,  9, 13, 2, 6, 10, 14, 3,  7,  11, 15,  //
    0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5,  13, 3,  11, 7,  15,  //
};
constexpr std::array<int, 12> kRotation = {3, 7, 11, 19, 3, 5, 9, 13, 3, 9, 11, 15};
constexpr std::array<std::uint32_t, 3> kRoundConstant = {0, 0x5a827999, 0x6ed9eba1};

std::uint32_t RoundMix(std::size_t round, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    switch (round) {
        case 0:
            return (b & c) | (~b & d);
        case 1:
            return (b & c) | (b & d) | (c & d);
        default:
            return b ^ c ^ d;
    }
}

void Compress(detail::MdEngine::State& h, const std::uint8_t* block) {
    std::array<std::uint32_t, 16> x;
    for (std::size_t k = 0; k < x.size(); ++k) x[k] = detail::LoadLe32(block + 4 * k);
    auto [a, b, c, d] = h;
    for (std::size_t i = 0; i < kWordOrder.size(); ++i) {
        const std::size_t round = i / 16;
        const std::uint32_t sum = a + RoundMix(round, b, c, d) + x[kWordOrder[i]] + kRoundConstant[round];
        a = d;
        d = c;
        c = b;
        b = std::rotl(sum, kRotation[round * 4 + i % 4]);
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
}

}  // namespace

Md4::Md4() : MdEngine(&Compress) {}

}  // namespace core
