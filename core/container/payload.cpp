#include "core/container/payload.h"

#include <algorithm>

namespace core {
namespace {

// A 32-bit partial sum of this many bytes cannot overflow (255 * 2^24 < 2^32), and summing into
// 32 bits lets the compiler use four times as many lanes as summing into 64.
constexpr std::size_t kPartialSumBytes = std::size_t{1} << 24;

std::uint32_t PartialSum(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    for (std::uint8_t byte : bytes) sum += byte;
    return sum;
}

}  // namespace

void CipherChunks(Rc4& key, std::span<std::uint8_t> data) {
    for (std::size_t offset = 0; offset < data.size(); offset += kChunkSize) {
        key.Restart();
        key.Apply(data.subspan(offset, std::min(kChunkSize, data.size() - offset)));
    }
}

std::uint64_t AddToChecksum(std::uint64_t sum, std::span<const std::uint8_t> plain) {
    for (std::size_t offset = 0; offset < plain.size(); offset += kPartialSumBytes) {
        sum += PartialSum(plain.subspan(offset, std::min(kPartialSumBytes, plain.size() - offset)));
    }
    return sum;
}

}  // namespace core
