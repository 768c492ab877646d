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

// The portable cipher must produce, byte for byte, what CryptoAPI's providers produce, or
// files written on one side cannot be read on the other.
class KeyEquivalenceTest : public ::testing::TestWithParam<std::size_t> {
protected:
    static Bytes ThroughCryptoApi(CCryptKey& key, const Bytes& plain) {
        Bytes data = plain;
        if (!data.empty()) {
            EXPECT_EQ(key.Encrypt(data, 0, true), data.size());
        }
        return data;
    }
    static Bytes ThroughPortable(const Bytes& secret, core::Provider provider, const Bytes& plain) {
        core::Rc4 rc4(core::DeriveFileKey(secret, provider));
        Bytes data = plain;
        rc4.Apply(data);
        return data;
    }
};

TEST_P(KeyEquivalenceTest, ChunksEncipherAlikeUnderBothProviders) {
    const Bytes secret = PatternBytes(GetParam(), 11);
    CFileKeys keys(secret);
    ASSERT_TRUE(keys.PrimaryIsEnhanced()) << "the enhanced provider should be present";
    for (std::size_t chunk : {0u, 1u, 1024u}) {
        const Bytes plain = PatternBytes(chunk, 5);
        EXPECT_EQ(ThroughCryptoApi(keys.Primary(), plain),
                  ThroughPortable(secret, core::Provider::Enhanced, plain))
            << "enhanced provider, chunk of " << chunk;
        EXPECT_EQ(ThroughCryptoApi(keys.Compatibility(), plain),
                  ThroughPortable(secret, core::Provider::Base, plain))
            << "base provider, chunk of " << chunk;
    }
}

TEST_P(KeyEquivalenceTest, EveryChunkRestartsTheKeyStream) {
    const Bytes secret = PatternBytes(GetParam(), 11);
    CFileKeys keys(secret);
    const Bytes plain = PatternBytes(2500, 9);
    Bytes api = plain;
    EncipherChunks(keys.Primary(), api);
    Bytes portable = plain;
    core::Rc4 rc4(core::DeriveFileKey(secret, core::Provider::Enhanced));
    core::CipherChunks(rc4, portable);
    EXPECT_EQ(api, portable);
    DecipherChunks(keys.Primary(), api);
    EXPECT_EQ(api, plain);
}

INSTANTIATE_TEST_SUITE_P(SecretSizes, KeyEquivalenceTest, ::testing::Values(0u, 1u, 16u, 1000u));

Bytes RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 generator(seed);
    Bytes bytes(size);
    for (BYTE& byte : bytes) byte = static_cast<BYTE>(generator());
    return bytes;
}

// The engines encipher by XOR with the key stream the provider gave once; the files must
// hold exactly what one provider call per chunk gives, for both keys, any content and any
// length around the chunk boundaries.
TEST(ChunkCipher, XorWithTheKeyStreamIsWhatTheProviderGivesPerChunk) {
    CFileKeys keys(RandomBytes(16, 1));
    ASSERT_TRUE(keys.PrimaryIsEnhanced()) << "the enhanced provider should be present";
    const struct {
        const char* name;
        CCryptKey& key;
        const core::ChunkCipher& cipher;
    } types[] = {{"type 1, enhanced provider", keys.Primary(), keys.PrimaryCipher()},
                 {"type 2, base provider", keys.Compatibility(), keys.CompatibilityCipher()}};
    for (const auto& type : types) {
        for (std::size_t size : {0u, 1u, 1023u, 1024u, 1025u, 2047u, 2048u, 2049u, (3u << 20) + 7}) {
            SCOPED_TRACE(std::string(type.name) + ", " + std::to_string(size) + " bytes");
            const Bytes plain = RandomBytes(size, static_cast<std::uint32_t>(size));
            Bytes provider = plain;
            EncipherChunks(type.key, provider);
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

TEST(FileKeys, CompatibilityKeyIsTheBaseProviders) {
    const Bytes secret = PatternBytes(16, 3);
    CFileKeys keys(secret);
    EXPECT_NE(&keys.Compatibility(), &keys.Primary());

    Bytes primary(64, 0), compatibility(64, 0);
    keys.Primary().Encrypt(primary, 0, true);
    keys.Compatibility().Encrypt(compatibility, 0, true);
    EXPECT_NE(primary, compatibility);
}

TEST(FileKeys, SameSecretSameKeysOtherSecretOtherKeys) {
    Bytes a(32, 0), b(32, 0), c(32, 0);
    CFileKeys first(PatternBytes(16, 1)), again(PatternBytes(16, 1)), other(PatternBytes(16, 2));
    first.Primary().Encrypt(a, 0, true);
    again.Primary().Encrypt(b, 0, true);
    other.Primary().Encrypt(c, 0, true);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

}  // namespace
