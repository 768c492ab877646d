#include "core/crypto/xtea_feedback.h"

#include <algorithm>
#include <stdexcept>

namespace core {
namespace {

constexpr std::uint32_t kDelta = 0x9E3779B9;
constexpr int kRounds = 32;
constexpr std::size_t kBlockSize = 8;

std::uint32_t ArithmeticShiftRight5(std::uint32_t value) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(value) >> 5);
}

std::uint32_t Mix(std::uint32_t value) {
    return (ArithmeticShiftRight5(value) ^ (value << 4)) + value;
}

// Only a full block becomes the next state; after a short block the data has ended.
XteaBlock NextState(std::span<const std::uint8_t> cipherBlock, XteaBlock state) {
    if (cipherBlock.size() < kBlockSize) return state;
    return XteaBlockFromBytes(cipherBlock.first<kBlockSize>());
}

enum class Feedback { FromInput, FromOutput };

// The ciphertext is the input when deciphering and the output when enciphering.
void FeedbackXor(std::span<const std::uint8_t> in, std::span<std::uint8_t> out, const ObfuscationKey& key,
                 XteaBlock iv, Feedback feedback) {
    XteaBlock state = iv;
    for (std::size_t offset = 0; offset < in.size(); offset += kBlockSize) {
        const std::size_t size = std::min(kBlockSize, in.size() - offset);
        const auto stream = XteaBlockBytes(XteaVariantEncipher(state, key));
        for (std::size_t i = 0; i < size; ++i) out[offset + i] = in[offset + i] ^ stream[i];
        const auto cipher = feedback == Feedback::FromInput
                                ? in.subspan(offset, size)
                                : std::span<const std::uint8_t>(out).subspan(offset, size);
        state = NextState(cipher, state);
    }
}

}  // namespace

XteaBlock XteaBlockFromBytes(std::span<const std::uint8_t, 8> bytes) {
    XteaBlock block{};
    for (int i = 0; i < 8; ++i) block[i / 4] |= static_cast<std::uint32_t>(bytes[i]) << (8 * (i % 4));
    return block;
}

std::array<std::uint8_t, 8> XteaBlockBytes(XteaBlock block) {
    std::array<std::uint8_t, 8> bytes;
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(block[i / 4] >> (8 * (i % 4)));
    return bytes;
}

XteaBlock XteaVariantEncipher(XteaBlock block, const ObfuscationKey& key) {
    auto& [v0, v1] = block;
    std::uint32_t sum = 0;
    for (int round = 0; round < kRounds; ++round) {
        v0 += Mix(v1) ^ (sum + key[sum & 3]);
        sum += kDelta;
        v1 += Mix(v0) ^ (sum + key[(sum >> 11) & 3]);
    }
    return block;
}

void XteaFeedbackDecipher(std::span<const std::uint8_t> cipher, const ObfuscationKey& key, XteaBlock iv,
                          std::span<std::uint8_t> plain) {
    if (plain.size() != cipher.size()) throw std::length_error("plain and cipher differ in length");
    FeedbackXor(cipher, plain, key, iv, Feedback::FromInput);
}

std::vector<std::uint8_t> XteaFeedbackEncipher(std::span<const std::uint8_t> plain, const ObfuscationKey& key,
                                               XteaBlock iv) {
    std::vector<std::uint8_t> cipher(plain.size());
    FeedbackXor(plain, cipher, key, iv, Feedback::FromOutput);
    return cipher;
}

}  // namespace core
