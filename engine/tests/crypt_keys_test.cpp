#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/container/payload.h"
#include "core/crypto/chunk_cipher.h"
#include "core/crypto/file_key.h"
#include "core/crypto/rc4.h"
#include "engine/file_keys.h"
#include "provider_chunks.h"
#include "test_support.h"

namespace {

Bytes RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 generator(seed);
    Bytes bytes(size);
    for (BYTE& byte : bytes) byte = static_cast<BYTE>(generator());
    return bytes;
}

// Files written on one side must be read on the other: for secrets of every length, each key's
// provider (one call per chunk), the portable RC4 over chunks and the engines' XOR with the key
// stream give the same bytes, for any content and any length around the chunk boundaries.
class KeyEquivalenceTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(KeyEquivalenceTest, ProviderPortableCipherAndKeyStreamXorAgreeForBothKeys) {
    const Bytes secret = RandomBytes(GetParam(), 11);
    CFileKeys keys(secret);
    ASSERT_TRUE(keys.PrimaryIsEnhanced()) << "the enhanced provider should be present";
    const struct {
        const char* name;
        CCryptKey& key;
        const core::ChunkCipher& cipher;
        core::Provider provider;
    } types[] = {
        {"type 1, enhanced provider", keys.Primary(), keys.PrimaryCipher(), core::Provider::Enhanced},
        {"type 2, base provider", keys.Compatibility(), keys.CompatibilityCipher(), core::Provider::Base}};
    for (const auto& type : types) {
        for (std::size_t size : {0u, 1u, 1023u, 1024u, 1025u, 2047u, 2048u, 2049u, (3u << 20) + 7}) {
            SCOPED_TRACE(std::string(type.name) + ", " + std::to_string(size) + " bytes");
            const Bytes plain = RandomBytes(size, static_cast<std::uint32_t>(size));
            Bytes provider = plain;
            EncipherChunks(type.key, provider);
            Bytes portable = plain;
            core::Rc4 rc4(core::DeriveFileKey(secret, type.provider));
            core::CipherChunks(rc4, portable);
            EXPECT_EQ(provider, portable);
            Bytes xored = plain;
            EXPECT_EQ(type.cipher.Encipher(xored, 0, 0), core::AddToChecksum(0, plain));
            EXPECT_EQ(xored, provider);

            Bytes back = xored;
            DecipherChunks(type.key, back);
            EXPECT_EQ(back, plain);
            EXPECT_EQ(type.cipher.Decipher(provider, 0, 0), core::AddToChecksum(0, plain));
            EXPECT_EQ(provider, plain);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SecretSizes, KeyEquivalenceTest, ::testing::Values(0u, 1u, 16u, 1000u));

}  // namespace
