#include <gtest/gtest.h>

#include "core/file_key.h"
#include "core/payload.h"
#include "core/rc4.h"
#include "engine/file_keys.h"
#include "engine/payload_cipher.h"
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
