#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "core/container/payload.h"
#include "core/crypto/chunk_cipher.h"
#include "core/crypto/rc4.h"

namespace core {
namespace {

const std::vector<std::uint8_t> kKey = {'c', 'h', 'u', 'n', 'k', ' ', 'k', 'e', 'y'};

std::vector<std::uint8_t> Random(std::size_t size, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::uint8_t& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(seed >> 24);
    }
    return bytes;
}

// Every chunk through RC4 from the key's initial state: the format's own definition.
std::vector<std::uint8_t> Reference(std::vector<std::uint8_t> plain) {
    Rc4 key(kKey);
    CipherChunks(key, plain);
    return plain;
}

class ChunkCipherTest : public ::testing::TestWithParam<XorLoop> {
protected:
    void SetUp() override {
        if (!CanRun(GetParam())) GTEST_SKIP() << "this processor does not run the loop";
    }
    ChunkCipher Cipher() const { return ChunkCipherOf(Rc4(kKey), GetParam()); }
};

// Sizes around the chunk and the 16-byte block, each at every alignment of a block, since
// the buffers the engines pass start wherever the allocator put them.
TEST_P(ChunkCipherTest, EnciphersAsEveryChunkFromTheInitialStateAndSumsThePlainBytes) {
    const ChunkCipher cipher = Cipher();
    for (std::size_t size : {0u, 1u, 15u, 16u, 17u, 1023u, 1024u, 1025u, 2047u, 2048u, 2049u, 70001u}) {
        const std::vector<std::uint8_t> plain = Random(size, static_cast<std::uint32_t>(size));
        const std::uint64_t expectedSum = AddToChecksum(5, plain);
        for (std::size_t misalignment = 0; misalignment < 16; ++misalignment) {
            SCOPED_TRACE("size " + std::to_string(size) + ", misaligned by " + std::to_string(misalignment));
            std::vector<std::uint8_t> buffer(misalignment + size);
            std::copy(plain.begin(), plain.end(), buffer.begin() + misalignment);
            const std::span<std::uint8_t> data = std::span(buffer).subspan(misalignment);

            EXPECT_EQ(cipher.Encipher(data, 0, 5), expectedSum);
            EXPECT_TRUE(std::equal(data.begin(), data.end(), Reference(plain).begin()));
            EXPECT_EQ(cipher.Decipher(data, 0, 5), expectedSum);
            EXPECT_TRUE(std::equal(data.begin(), data.end(), plain.begin()));
        }
    }
}

// A payload in buffers cut anywhere: inside a chunk, inside a 16-byte block, on a chunk
// boundary, one byte long, as the engines cut it after a header of odd length.
TEST_P(ChunkCipherTest, BuffersCutAnywhereGiveOnePayloadsBytesAndSum) {
    const ChunkCipher cipher = Cipher();
    const std::vector<std::uint8_t> plain = Random(9 * kChunkSize + 300, 7);
    const std::size_t cuts[] = {0, 39, 40, 1024, 1025, 1500, 3000, 4057, 4058, 8192, plain.size()};
    std::vector<std::uint8_t> data = plain;
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i + 1 < std::size(cuts); ++i)
        sum = cipher.Encipher(std::span(data).subspan(cuts[i], cuts[i + 1] - cuts[i]), cuts[i], sum);
    EXPECT_EQ(data, Reference(plain));
    EXPECT_EQ(sum, AddToChecksum(0, plain));

    sum = 0;
    for (std::size_t i = 0; i + 1 < std::size(cuts); ++i)
        sum = cipher.Decipher(std::span(data).subspan(cuts[i], cuts[i + 1] - cuts[i]), cuts[i], sum);
    EXPECT_EQ(data, plain);
    EXPECT_EQ(sum, AddToChecksum(0, plain));
}

// Only the position within its chunk counts, however far into a large file the buffer is.
TEST_P(ChunkCipherTest, PositionsBeyondFourGigabytesTakeTheKeyStreamFromTheirPlaceInTheChunk) {
    const std::vector<std::uint8_t> plain = Random(3000, 9);
    std::vector<std::uint8_t> data = plain;
    Cipher().Encipher(data, (std::uint64_t{5} << 32) + 7 * kChunkSize + 100, 0);
    std::vector<std::uint8_t> expected(100, 0);
    expected.insert(expected.end(), plain.begin(), plain.end());
    expected = Reference(expected);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), expected.begin() + 100));
}

// The sum wraps modulo 2^64; and more high bytes than a 32-bit total holds, in one call as one
// large buffer would be, do not overflow it.
TEST_P(ChunkCipherTest, SumWrapsModulo2To64AndALongRunOfHighBytesDoesNotOverflow) {
    std::vector<std::uint8_t> data = Reference({0xff, 0xff, 0x10});
    EXPECT_EQ(Cipher().Decipher(data, 0, std::numeric_limits<std::uint64_t>::max() - 9),
              0x10u + 0xff + 0xff - 10);
    const std::size_t size = std::numeric_limits<std::uint32_t>::max() / 0xff + 3 * kChunkSize + 1;
    std::vector<std::uint8_t> high(size, 0xff);
    EXPECT_EQ(Cipher().Encipher(high, 0, 0), std::uint64_t{0xff} * size);
    EXPECT_EQ(Cipher().Decipher(high, 0, 0), std::uint64_t{0xff} * size);
}

INSTANTIATE_TEST_SUITE_P(Loops, ChunkCipherTest, ::testing::Values(XorLoop::Plain, XorLoop::Sse2),
                         [](const auto& loop) { return loop.param == XorLoop::Plain ? "Plain" : "Sse2"; });

TEST(ChunkCipher, KeyStreamIsTakenFromTheInitialStateWhateverTheKeysState) {
    Rc4 used(kKey);
    std::vector<std::uint8_t> skipped(100);
    used.Apply(skipped);
    std::vector<std::uint8_t> data(kChunkSize + 1, 0);
    ChunkCipherOf(used).Encipher(data, 0, 0);
    EXPECT_EQ(data, Reference(std::vector<std::uint8_t>(kChunkSize + 1, 0)));
}

TEST(ChunkCipher, FastestLoopIsOneThisProcessorRuns) {
    EXPECT_TRUE(CanRun(FastestXorLoop()));
    EXPECT_TRUE(CanRun(XorLoop::Plain));
#if defined(__x86_64__)
    // Every 64-bit x86 processor has SSE2.
    EXPECT_EQ(FastestXorLoop(), XorLoop::Sse2);
#endif
}

}  // namespace
}  // namespace core
