#include <gtest/gtest.h>

#include "byte_text.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/container/payload.h"
#include "core/crypto/file_key.h"
#include "core/crypto/md4.h"
#include "core/crypto/md5.h"
#include "core/crypto/password.h"
#include "core/crypto/rc4.h"

namespace core {
namespace {

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Distinct, non-repeating bytes, so that misplaced offsets show up in comparisons.
std::vector<std::uint8_t> Pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

struct DigestVector {
    std::string_view message;
    std::string_view md5;
    std::string_view md4;
};

// The test suites of RFC 1321 and RFC 1320 (appendix A.5), then two block-boundary lengths.
constexpr DigestVector kDigestVectors[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e", "31d6cfe0d16ae931b73c59d7e0c089c0"},
    {"a", "0cc175b9c0f1b6a831c399e269772661", "bde52cb31de33e46245e05fbdbd6fb24"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72", "a448017aaf21d8525fc10ae87aa6729d"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0", "d9130a8164549fe818874806e1c7014b"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b", "d79e1c308aa5bbcdeea8ed63df412da9"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f",
     "043f8582f241db351ce627e153e7f0e4"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a", "e33b4ddc9c38f2199c3e7b164fcc0536"},
    // 56 bytes leave no room for the length in the last block; 64 bytes fill it exactly.
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "8215ef0796a20bcaaae116d3876c664a",
     "4691a9ec81b1a6bd1ab8557240b245c5"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopqabcdefgh", "9d3a2767daee481b2bdabda7b37a455a",
     "17aaf81294df39ab42f4948063e0b006"},
};

TEST(Md5, MatchesKnownDigests) {
    for (const auto& vector : kDigestVectors) {
        EXPECT_EQ(Hex(Md5Of(Bytes(vector.message))), vector.md5) << '"' << vector.message << '"';
    }
}

TEST(Md4, MatchesKnownDigests) {
    for (const auto& vector : kDigestVectors) {
        EXPECT_EQ(Hex(Md4Of(Bytes(vector.message))), vector.md4) << '"' << vector.message << '"';
    }
}

// The first-use secret hashes the password's UTF-16LE units and the terminating zero unit.
TEST(PasswordSecret, IsTheMd4OfTheLittleEndianUnitsAndTheTerminator) {
    EXPECT_EQ(PasswordSecret(u"ab"), Md4Of(std::vector<std::uint8_t>{'a', 0, 'b', 0, 0, 0}));
    EXPECT_EQ(PasswordSecret(u"\u00E9\u4E2D"),
              Md4Of(std::vector<std::uint8_t>{0xE9, 0x00, 0x2D, 0x4E, 0, 0}));
    EXPECT_EQ(PasswordSecret(u""), Md4Of(std::vector<std::uint8_t>{0, 0}));
}

TEST(PasswordSecret, SecretsAreTheSameOnlyWithEqualLengthAndEveryByte) {
    const std::vector<std::uint8_t> secret{1, 2, 3, 4};
    EXPECT_TRUE(SameSecret(secret, std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_FALSE(SameSecret(secret, std::vector<std::uint8_t>{1, 2, 3, 5}));
    EXPECT_FALSE(SameSecret(secret, std::vector<std::uint8_t>{0, 2, 3, 4}));
    EXPECT_FALSE(SameSecret(secret, std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(SameSecret(secret, {}));
    EXPECT_TRUE(SameSecret({}, {}));
}

template <class Hash>
class StreamingHash : public testing::Test {};

using Hashes = testing::Types<Md5, Md4>;
TYPED_TEST_SUITE(StreamingHash, Hashes);

// Lengths around the point where the bit count no longer fits in the last block, and piece
// sizes that fill the partial block, skip over whole blocks and straddle block ends.
TYPED_TEST(StreamingHash, PiecewiseUpdatesEqualOneShot) {
    for (std::size_t length : {1, 55, 56, 63, 64, 65, 119, 120, 128, 300}) {
        const auto message = Pattern(length);
        TypeParam whole;
        whole.Update(message);
        const auto expected = whole.Final();
        for (std::size_t piece : {1, 3, 17, 63, 64, 65, 130}) {
            TypeParam streamed;
            for (std::size_t offset = 0; offset < length; offset += piece) {
                streamed.Update(std::span(message).subspan(offset, std::min(piece, length - offset)));
            }
            EXPECT_EQ(streamed.Final(), expected) << "length " << length << ", pieces of " << piece;
        }
    }
}

std::vector<std::uint8_t> Keystream(Rc4& rc4, std::size_t size) {
    std::vector<std::uint8_t> stream(size);
    rc4.Apply(stream);
    return stream;
}

TEST(Rc4, EnciphersPublishedExamples) {
    struct Example {
        std::string_view key, plain, cipher;
    };
    for (const auto& [key, plain, cipher] :
         {Example{"Key", "Plaintext", "bbf316e8d940af0ad3"}, Example{"Wiki", "pedia", "1021bf0420"},
          Example{"Secret", "Attack at dawn", "45a01f645fc35b383552544b9bf5"}}) {
        Rc4 rc4(Bytes(key));
        auto data = BytesOf(plain);
        rc4.Apply(data);
        EXPECT_EQ(Hex(data), cipher) << "key " << key;
    }
}

// RFC 6229, the first 32 key-stream bytes for its 40-bit and 128-bit keys.
TEST(Rc4, MatchesRfc6229KeyStreams) {
    const std::vector<std::uint8_t> key40 = {1, 2, 3, 4, 5};
    Rc4 rc4_40(key40);
    EXPECT_EQ(Hex(Keystream(rc4_40, 32)), "b2396305f03dc027ccc3524a0a1118a86982944f18fc82d589c403a47a0d0919");

    std::vector<std::uint8_t> key128(16);
    std::iota(key128.begin(), key128.end(), std::uint8_t{1});
    Rc4 rc4_128(key128);
    EXPECT_EQ(Hex(Keystream(rc4_128, 32)),
              "9ac7cc9a609d1ef7b2932899cde41b975248c4959014126a6e8a84f11d1a9e1c");
}

TEST(Rc4, KeyStreamContinuesAcrossCallsAndRestartsFromTheStart) {
    Rc4 rc4(Bytes("Secret"));
    const auto first = Keystream(rc4, 300);

    rc4.Restart();
    auto pieces = Keystream(rc4, 100);
    const auto rest = Keystream(rc4, 200);
    pieces.insert(pieces.end(), rest.begin(), rest.end());
    EXPECT_EQ(pieces, first);

    EXPECT_NE(Keystream(rc4, 300), first);
    rc4.Restart();
    EXPECT_EQ(Keystream(rc4, 300), first);
}

TEST(Rc4, RejectsKeysOutsideOneTo256Bytes) {
    EXPECT_THROW(Rc4{std::span<const std::uint8_t>{}}, std::invalid_argument);
    EXPECT_THROW(Rc4{std::vector<std::uint8_t>(257)}, std::invalid_argument);
    EXPECT_NO_THROW(Rc4{std::vector<std::uint8_t>(256)});
}

TEST(FileKey, EnhancedKeyIsTheSecretsMd5) {
    EXPECT_EQ(Hex(DeriveFileKey(Bytes("abc"), Provider::Enhanced)), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(FileKey, BaseKeyIsFortyBitsOfMd5ThenZeroSalt) {
    EXPECT_EQ(Hex(DeriveFileKey(Bytes("abc"), Provider::Base)), "900150983c0000000000000000000000");
}

TEST(CipherChunks, RestartsTheKeyStreamAtEveryChunk) {
    const auto plain = Pattern(2500);
    Rc4 key(Bytes("chunk key"));
    Keystream(key, 10);  // a key left mid-stream must not shift the first chunk

    auto cipher = plain;
    CipherChunks(key, cipher);

    Rc4 reference(Bytes("chunk key"));
    auto expected = plain;
    for (std::size_t offset : {0, 1024, 2048}) {
        reference.Restart();
        reference.Apply(
            std::span(expected).subspan(offset, std::min<std::size_t>(kChunkSize, 2500 - offset)));
    }
    EXPECT_EQ(cipher, expected);

    CipherChunks(key, cipher);
    EXPECT_EQ(cipher, plain);
}

TEST(CipherChunks, FirstByteOfSecondChunkUsesFirstKeyStreamByte) {
    std::vector<std::uint8_t> data(kChunkSize + 1, 0x5c);
    Rc4 key(Bytes("chunk key"));
    CipherChunks(key, data);
    EXPECT_EQ(data[kChunkSize], data[0]);
}

TEST(Checksum, AddsBytesAsUnsignedValues) {
    const std::vector<std::uint8_t> bytes = {0x01, 0x7f, 0x80, 0xff};
    EXPECT_EQ(AddToChecksum(0, bytes), 1u + 0x7f + 0x80 + 0xff);
    EXPECT_EQ(AddToChecksum(42, {}), 42u);
}

TEST(Checksum, WrapsModulo2To64) {
    const std::vector<std::uint8_t> bytes = {0xff, 0xff, 0x10};
    EXPECT_EQ(AddToChecksum(std::numeric_limits<std::uint64_t>::max() - 9, bytes), 0x10u + 0xff + 0xff - 10);
}

TEST(Checksum, ChunkedSumsEqualOneSum) {
    const auto bytes = Pattern(5000);
    std::uint64_t chunked = 7;
    for (std::size_t offset = 0; offset < bytes.size(); offset += 999) {
        chunked = AddToChecksum(chunked,
                                std::span(bytes).subspan(offset, std::min<std::size_t>(999, 5000 - offset)));
    }
    EXPECT_EQ(chunked, AddToChecksum(7, bytes));
    EXPECT_EQ(chunked, std::accumulate(bytes.begin(), bytes.end(), std::uint64_t{7}));
}

// Just enough 0xff bytes to overflow a 32-bit running total, as a large file would.
TEST(Checksum, LongBufferOfHighBytesDoesNotOverflow) {
    const std::vector<std::uint8_t> bytes(std::numeric_limits<std::uint32_t>::max() / 0xff + 1, 0xff);
    EXPECT_EQ(AddToChecksum(0, bytes), std::uint64_t{0xff} * bytes.size());
}

}  // namespace
}  // namespace core
