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

using Bytes = std::vector<std::uint8_t>;

// Distinct, non-repeating bytes, so that misplaced offsets show up in comparisons.
Bytes Pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

// The test suites of RFC 1321 and RFC 1320 (appendix A.5), then two block-boundary lengths.
TEST(Digests, Md5AndMd4MatchKnownDigests) {
    struct Vector {
        std::string_view message, md5, md4;
    };
    const Vector vectors[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e", "31d6cfe0d16ae931b73c59d7e0c089c0"},
        {"a", "0cc175b9c0f1b6a831c399e269772661", "bde52cb31de33e46245e05fbdbd6fb24"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72", "a448017aaf21d8525fc10ae87aa6729d"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0", "d9130a8164549fe818874806e1c7014b"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b",
         "d79e1c308aa5bbcdeea8ed63df412da9"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f",
         "043f8582f241db351ce627e153e7f0e4"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a", "e33b4ddc9c38f2199c3e7b164fcc0536"},
        // 56 bytes leave no room for the length in the last block; 64 bytes fill it exactly.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "8215ef0796a20bcaaae116d3876c664a",
         "4691a9ec81b1a6bd1ab8557240b245c5"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopqabcdefgh",
         "9d3a2767daee481b2bdabda7b37a455a", "17aaf81294df39ab42f4948063e0b006"},
    };
    for (const auto& vector : vectors) {
        EXPECT_EQ(Hex(Md5Of(BytesOf(vector.message))), vector.md5) << '"' << vector.message << '"';
        EXPECT_EQ(Hex(Md4Of(BytesOf(vector.message))), vector.md4) << '"' << vector.message << '"';
    }
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

// The secret hashes the password's UTF-16LE units and the terminating zero unit, whichever way
// the password came: a dialog's units or a line of UTF-8.
TEST(PasswordSecret, IsTheMd4OfTheLittleEndianUnitsAndTheTerminator) {
    EXPECT_EQ(PasswordSecret(u"\u00E9\u4E2D"), Md4Of(Bytes{0xE9, 0x00, 0x2D, 0x4E, 0, 0}));
    EXPECT_EQ(PasswordSecret(u""), Md4Of(Bytes{0, 0}));
    EXPECT_EQ(Password::FromUtf16(u"a").Secret(), Md4Of(BytesOf(std::string("a\0\0\0", 4))));
    const std::string units("P\0\xE4\0\x3D\xD8\x00\xDE\0\0", 10);
    EXPECT_EQ(Password::FromLine(BytesOf("P\xC3\xA4\xF0\x9F\x98\x80")).Secret(), Md4Of(BytesOf(units)));
}

TEST(PasswordSecret, SecretsAreTheSameOnlyWithEqualLengthAndEveryByte) {
    const Bytes secret{1, 2, 3, 4};
    EXPECT_TRUE(SameSecret(secret, Bytes{1, 2, 3, 4}));
    EXPECT_FALSE(SameSecret(secret, Bytes{1, 2, 3, 5}));
    EXPECT_FALSE(SameSecret(secret, Bytes{0, 2, 3, 4}));
    EXPECT_FALSE(SameSecret(secret, Bytes{1, 2, 3}));
    EXPECT_FALSE(SameSecret(secret, {}));
    EXPECT_TRUE(SameSecret({}, {}));
}

TEST(PasswordSecret, MovedPasswordKeepsItsSecret) {
    Password original = Password::FromUtf16(u"secret");
    const Md4Digest secret = original.Secret();
    const Password moved(std::move(original));
    EXPECT_EQ(moved.Secret(), secret);
}

TEST(PasswordLine, EndsAtTheFirstLineFeedWithOneCarriageReturnDroppedAndIsReadAsUtf8) {
    const auto line = [](std::string_view text) { return Password::FromLine(BytesOf(text)); };
    const Password expected = Password::FromUtf16(u"secret");
    for (std::string_view text : {"secret", "secret\n", "secret\r\n", "secret\nsecond line\n"})
        EXPECT_EQ(line(text), expected) << text;
    EXPECT_EQ(line("secret\r\r\n"), Password::FromUtf16(u"secret\r"));
    EXPECT_EQ(line(" secret \n"), Password::FromUtf16(u" secret "));
    EXPECT_TRUE(line("\nsecret").Empty());
    EXPECT_TRUE(line("").Empty());
    EXPECT_EQ(line("P\xC3\xA4ss \xE2\x82\xAC \xF0\x9F\x98\x80\n"),
              Password::FromUtf16(u"Päss € \xD83D\xDE00"));
}

TEST(PasswordLength, CountsUtf16UnitsAsTheDialogsLimitDoes) {
    EXPECT_FALSE(Password::FromUtf16(std::u16string(256, u'x')).TooLong());
    EXPECT_TRUE(Password::FromUtf16(std::u16string(257, u'x')).TooLong());
    std::u16string pairs;
    for (int i = 0; i < 129; ++i) pairs += u"\xD83D\xDE00";
    EXPECT_TRUE(Password::FromUtf16(pairs).TooLong());
}

Bytes Keystream(Rc4& rc4, std::size_t size) {
    Bytes stream(size);
    rc4.Apply(stream);
    return stream;
}

TEST(Rc4, EnciphersPublishedExamples) {
    struct Example {
        Bytes key, plain;
        std::string_view cipher;
    };
    Bytes key128(16);
    std::iota(key128.begin(), key128.end(), std::uint8_t{1});
    const Example examples[] = {
        {BytesOf("Key"), BytesOf("Plaintext"), "bbf316e8d940af0ad3"},
        {BytesOf("Wiki"), BytesOf("pedia"), "1021bf0420"},
        {BytesOf("Secret"), BytesOf("Attack at dawn"), "45a01f645fc35b383552544b9bf5"},
        // RFC 6229, the first 32 key-stream bytes for its 40-bit and 128-bit keys.
        {{1, 2, 3, 4, 5}, Bytes(32), "b2396305f03dc027ccc3524a0a1118a86982944f18fc82d589c403a47a0d0919"},
        {key128, Bytes(32), "9ac7cc9a609d1ef7b2932899cde41b975248c4959014126a6e8a84f11d1a9e1c"},
    };
    for (const auto& [key, plain, cipher] : examples) {
        Rc4 rc4(key);
        auto data = plain;
        rc4.Apply(data);
        EXPECT_EQ(Hex(data), cipher) << Hex(key);
    }
}

TEST(Rc4, KeyStreamContinuesAcrossCallsAndRestartsFromTheStart) {
    Rc4 rc4(BytesOf("Secret"));
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
    EXPECT_THROW(Rc4{Bytes(257)}, std::invalid_argument);
    EXPECT_NO_THROW(Rc4{Bytes(256)});
}

TEST(FileKey, EnhancedKeyIsTheSecretsMd5AndBaseKeyFortyBitsOfItThenZeroSalt) {
    EXPECT_EQ(Hex(DeriveFileKey(BytesOf("abc"), Provider::Enhanced)), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Hex(DeriveFileKey(BytesOf("abc"), Provider::Base)), "900150983c0000000000000000000000");
}

// A key left mid-stream must not shift the first chunk; each chunk starts the key stream anew.
TEST(CipherChunks, RestartsTheKeyStreamAtEveryChunk) {
    const auto plain = Pattern(2500);
    Rc4 key(BytesOf("chunk key"));
    Keystream(key, 10);

    auto cipher = plain;
    CipherChunks(key, cipher);

    Rc4 reference(BytesOf("chunk key"));
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

// Bytes add as unsigned values, in any pieces, modulo 2^64; and more 0xff bytes than a 32-bit
// running total holds, as a large file has, do not overflow.
TEST(Checksum, AddsUnsignedBytesInAnyPiecesModulo2To64) {
    EXPECT_EQ(AddToChecksum(0, Bytes{0x01, 0x7f, 0x80, 0xff}), 1u + 0x7f + 0x80 + 0xff);
    EXPECT_EQ(AddToChecksum(42, {}), 42u);
    EXPECT_EQ(AddToChecksum(std::numeric_limits<std::uint64_t>::max() - 9, Bytes{0xff, 0xff, 0x10}),
              0x10u + 0xff + 0xff - 10);

    const auto bytes = Pattern(5000);
    std::uint64_t chunked = 7;
    for (std::size_t offset = 0; offset < bytes.size(); offset += 999) {
        chunked = AddToChecksum(chunked,
                                std::span(bytes).subspan(offset, std::min<std::size_t>(999, 5000 - offset)));
    }
    EXPECT_EQ(chunked, AddToChecksum(7, bytes));
    EXPECT_EQ(chunked, std::accumulate(bytes.begin(), bytes.end(), std::uint64_t{7}));

    const Bytes high(std::numeric_limits<std::uint32_t>::max() / 0xff + 1, 0xff);
    EXPECT_EQ(AddToChecksum(0, high), std::uint64_t{0xff} * high.size());
}

}  // namespace
}  // namespace core
