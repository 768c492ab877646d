#include <gtest/gtest.h>

#include <sodium.h>

#include <array>
#include <cstdint>
#include <vector>

namespace core {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Stream = crypto_secretstream_xchacha20poly1305_state;
constexpr std::size_t kHeaderSize = crypto_secretstream_xchacha20poly1305_HEADERBYTES;
constexpr std::size_t kOverhead = crypto_secretstream_xchacha20poly1305_ABYTES;

struct Sealed {
    std::array<std::uint8_t, kHeaderSize> header;
    std::vector<Bytes> chunks;
};

Sealed Seal(const std::uint8_t* key, const std::vector<Bytes>& plain) {
    Sealed sealed{};
    Stream state;
    crypto_secretstream_xchacha20poly1305_init_push(&state, sealed.header.data(), key);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const bool last = i + 1 == plain.size();
        Bytes chunk(plain[i].size() + kOverhead);
        crypto_secretstream_xchacha20poly1305_push(
            &state, chunk.data(), nullptr, plain[i].data(), plain[i].size(), nullptr, 0,
            last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL : 0);
        sealed.chunks.push_back(chunk);
    }
    return sealed;
}

// The chunks opened in order, or nothing when one fails its authentication; the tags returned.
bool Open(const std::uint8_t* key, const Sealed& sealed, std::vector<Bytes>& plain,
          std::vector<unsigned char>& tags) {
    Stream state;
    if (crypto_secretstream_xchacha20poly1305_init_pull(&state, sealed.header.data(), key) != 0) return false;
    for (const Bytes& chunk : sealed.chunks) {
        Bytes opened(chunk.size() - kOverhead);
        unsigned char tag = 0;
        if (crypto_secretstream_xchacha20poly1305_pull(&state, opened.data(), nullptr, &tag, chunk.data(),
                                                       chunk.size(), nullptr, 0) != 0)
            return false;
        plain.push_back(opened);
        tags.push_back(tag);
    }
    return true;
}

// The library the Windows builds compile themselves works there as natively: a stream of two
// chunks opens to what was sealed, ends on the final tag, and any flipped byte is refused.
TEST(Sodium, SecretStreamRoundTripsAndRefusesAFlippedByte) {
    ASSERT_GE(sodium_init(), 0);
    std::array<std::uint8_t, crypto_secretstream_xchacha20poly1305_KEYBYTES> key;
    crypto_secretstream_xchacha20poly1305_keygen(key.data());
    const std::vector<Bytes> plain{Bytes{'f', 'i', 'r', 's', 't'}, Bytes(1000, 0x5a)};
    const Sealed sealed = Seal(key.data(), plain);

    std::vector<Bytes> opened;
    std::vector<unsigned char> tags;
    ASSERT_TRUE(Open(key.data(), sealed, opened, tags));
    EXPECT_EQ(opened, plain);
    EXPECT_EQ(tags, (std::vector<unsigned char>{0, crypto_secretstream_xchacha20poly1305_TAG_FINAL}));

    for (std::size_t chunk = 0; chunk < sealed.chunks.size(); ++chunk) {
        Sealed damaged = sealed;
        damaged.chunks[chunk][damaged.chunks[chunk].size() / 2] ^= 0x01;
        opened.clear();
        tags.clear();
        EXPECT_FALSE(Open(key.data(), damaged, opened, tags)) << "chunk " << chunk;
    }
}

}  // namespace
}  // namespace core
