#include "core/crypto/tea_cipher.h"

#include <algorithm>

namespace core {
namespace {

constexpr std::uint32_t kDelta = 0x9E3779B9;
constexpr int kRounds = 32;

// The arithmetic shift is done on the signed value (defined since C++20); everything else
// stays unsigned so that the additions wrap instead of overflowing.
std::uint32_t ArithmeticShiftRight5(std::uint32_t value) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(value) >> 5);
}

std::uint32_t Mix(std::uint32_t value, std::uint32_t sum, std::uint32_t k0, std::uint32_t k1) {
    return ((value << 4) + k0) ^ (value + sum) ^ (ArithmeticShiftRight5(value) + k1);
}

}  // namespace

TeaBlock TeaEncipher(TeaBlock block, const TeaKey& key) {
    auto& [v0, v1] = block;
    std::uint32_t sum = 0;
    for (int round = 0; round < kRounds; ++round) {
        sum += kDelta;
        v0 += Mix(v1, sum, key[0], key[1]);
        v1 += Mix(v0, sum, key[2], key[3]);
    }
    return block;
}

void TeaKeystreamXor(std::span<std::uint8_t> data, const TeaKey& key, TeaBlock initial) {
    TeaBlock state = initial;
    while (!data.empty()) {
        state = TeaEncipher(state, key);
        std::array<std::uint8_t, 8> stream;
        for (int i = 0; i < 4; ++i) {
            stream[i] = static_cast<std::uint8_t>(state[0] >> (8 * i));
            stream[4 + i] = static_cast<std::uint8_t>(state[1] >> (8 * i));
        }
        const std::size_t used = std::min(data.size(), stream.size());
        for (std::size_t i = 0; i < used; ++i) data[i] ^= stream[i];
        data = data.subspan(used);
    }
}

}  // namespace core
