#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

#include "byte_text.h"
#include "core/crypto/obfuscated_blob.h"
#include "core/crypto/xtea_feedback.h"
#include "core/text/der.h"

using namespace core;

namespace {

constexpr ObfuscationKey kZeroKey{};
constexpr ObfuscationKey kCountingKey{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
constexpr XteaBlock kIv{0x01234567, 0x89ABCDEF};

ObfuscationKey FilledKey(std::uint8_t value) {
    ObfuscationKey key;
    key.fill(value);
    return key;
}

}  // namespace

// The expected blocks were derived with a separate Python transcription of the algorithm
// (32 rounds; v0 += ((sar5(v1) ^ v1 << 4) + v1) ^ (sum + key[sum & 3]); sum += delta;
// v1 += ((sar5(v0) ^ v0 << 4) + v0) ^ (sum + key[(sum >> 11) & 3])). Switched to logical
// shifts and little-endian 32-bit key words, the same script gives the published XTEA vector
// for a zero key and block, dee9d4d8 f7131ed9, which checks the transcription itself; the
// standard-cipher results noted per row show that each row tells the variant apart.
TEST(XteaVariant, EnciphersWithArithmeticShiftsAndByteKeyWords) {
    struct Vector {
        ObfuscationKey key;
        XteaBlock plain;
        XteaBlock enciphered;
    };
    const Vector vectors[] = {
        // Standard XTEA: dee9d4d8 f7131ed9. A zero key hides the key words, so this row
        // differs only through the sign bits the halves pick up along the way.
        {kZeroKey, {0, 0}, {0xcd0766ae, 0x3deae43c}},
        // Standard: e604a238 bac0c175; with byte key words but logical shifts: 45986216 33b34399.
        {kCountingKey, kIv, {0x5f4c0951, 0x748b3b23}},
        // Both halves negative from the start. Standard: 782f793e 50840c2b.
        {FilledKey(0xff), {0x80000000, 0xffffffff}, {0x0236c454, 0xcf81db8b}},
    };
    for (const auto& vector : vectors) {
        EXPECT_EQ(XteaVariantEncipher(vector.plain, vector.key), vector.enciphered)
            << std::hex << vector.plain[0];
    }
}

TEST(XteaVariant, IgnoresAllButTheFirstFourKeyBytes) {
    ObfuscationKey other = kCountingKey;
    std::fill(other.begin() + 4, other.end(), 0xa5);
    EXPECT_EQ(XteaVariantEncipher(kIv, other), XteaVariantEncipher(kIv, kCountingKey));
    other[3] ^= 1;
    EXPECT_NE(XteaVariantEncipher(kIv, other), XteaVariantEncipher(kIv, kCountingKey));
}

// "Hello, world!" under the counting key and kIv, from the same script: one full block whose
// ciphertext feeds the second, short block.
TEST(XteaFeedback, DeciphersAFullAndAShortBlockWithCipherFeedback) {
    const std::vector<std::uint8_t> cipher = {0x19, 0x6c, 0x20, 0x33, 0x4c, 0x17, 0xab,
                                              0x03, 0x0d, 0x69, 0x03, 0x79, 0x07};
    std::vector<std::uint8_t> plain(cipher.size());
    XteaFeedbackDecipher(cipher, kCountingKey, kIv, plain);
    EXPECT_EQ(plain, BytesOf("Hello, world!"));
    EXPECT_EQ(XteaFeedbackEncipher(plain, kCountingKey, kIv), cipher);
    EXPECT_EQ(Hex(XteaBlockBytes(XteaVariantEncipher(kIv, kCountingKey))).substr(0, 8), "51094c5f");
}

TEST(XteaFeedback, RoundTripsEveryLengthAcrossBlockBoundaries) {
    for (std::size_t size = 0; size <= 25; ++size) {
        std::vector<std::uint8_t> plain(size);
        std::iota(plain.begin(), plain.end(), std::uint8_t{0x40});
        const auto cipher = XteaFeedbackEncipher(plain, kCountingKey, kIv);
        ASSERT_EQ(cipher.size(), size);
        std::vector<std::uint8_t> back(size);
        XteaFeedbackDecipher(cipher, kCountingKey, kIv, back);
        EXPECT_EQ(back, plain) << size;
    }
}

TEST(XteaFeedback, ChangedCiphertextGarblesOnlyItsBlockAndTheNext) {
    const std::vector<std::uint8_t> plain(32, 0x11);
    auto cipher = XteaFeedbackEncipher(plain, kCountingKey, kIv);
    cipher[9] ^= 0x80;
    std::vector<std::uint8_t> back(cipher.size());
    XteaFeedbackDecipher(cipher, kCountingKey, kIv, back);
    EXPECT_TRUE(std::equal(back.begin(), back.begin() + 8, plain.begin()));
    EXPECT_EQ(back[9], plain[9] ^ 0x80);
    EXPECT_FALSE(std::equal(back.begin() + 16, back.begin() + 24, plain.begin() + 16));
    EXPECT_TRUE(std::equal(back.begin() + 24, back.end(), plain.begin() + 24));
}

namespace {

std::vector<std::uint8_t> Element(std::uint8_t tag, const std::vector<std::uint8_t>& content) {
    std::vector<std::uint8_t> out;
    AppendDerElement(out, tag, content);
    return out;
}

std::vector<std::uint8_t> Concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A blob assembled element by element, so that each can be made wrong on its own.
std::vector<std::uint8_t> Blob(const std::vector<std::uint8_t>& version,
                               const std::vector<std::uint8_t>& pair, std::string_view tag = "ZTOA") {
    const auto payload = Element(kDerOctetString, Element(kDerSequence, pair));
    return Concat({BytesOf(tag), Element(kDerSequence, Concat({Element(kDerInteger, version), payload}))});
}

const std::vector<std::uint8_t> kIvBytes = {0x67, 0x45, 0x23, 0x01, 0xef, 0xcd, 0xab, 0x89};
const std::vector<std::uint8_t> kVersion4 = {4};

}  // namespace

TEST(ObfuscatedBlob, ReadsTheInitialVectorLittleEndianAndTheCiphertext) {
    const std::vector<std::uint8_t> cipher(13, 0x5a);
    const auto blob =
        Blob(kVersion4, Concat({Element(kDerOctetString, kIvBytes), Element(kDerOctetString, cipher)}));
    const auto parsed = ParseObfuscatedBlob(blob);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->iv, kIv);
    EXPECT_EQ(std::vector<std::uint8_t>(parsed->ciphertext.begin(), parsed->ciphertext.end()), cipher);
}

TEST(ObfuscatedBlob, UsesOnlyTheFirstEightBytesOfALongerInitialVector) {
    auto iv = kIvBytes;
    iv.push_back(0xee);
    const auto parsed = ParseObfuscatedBlob(Blob(kVersion4, Element(kDerOctetString, iv)));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->iv, kIv);
    EXPECT_TRUE(parsed->ciphertext.empty());
}

TEST(ObfuscatedBlob, BuiltBlobReadsBackWithLongLengths) {
    const std::vector<std::uint8_t> cipher(300, 0x33);
    const auto blob = BuildObfuscatedBlob(kIv, cipher);
    // The outer SEQUENCE holds 325 bytes, so its length takes the two-byte long form.
    EXPECT_EQ(Hex(blob).substr(0, 8 + 8 + 6), Hex(BytesOf("ZTOA")) + "30820145" + "020104");
    const auto parsed = ParseObfuscatedBlob(blob);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->iv, kIv);
    EXPECT_EQ(parsed->ciphertext.size(), cipher.size());
}

TEST(ObfuscatedBlob, RejectsEveryMalformedShape) {
    const auto ivElement = Element(kDerOctetString, kIvBytes);
    const auto cipherElement = Element(kDerOctetString, {1, 2, 3});
    const auto good = Concat({ivElement, cipherElement});
    auto cutShort = BuildObfuscatedBlob(kIv, std::vector<std::uint8_t>(20));
    cutShort.pop_back();
    auto trailing = BuildObfuscatedBlob(kIv, {});
    trailing.push_back(0);
    const std::vector<std::uint8_t> indefinite = Concat({BytesOf("ZTOA"), {0x30, 0x80, 0x02, 0x01, 0x04}});
    const std::vector<std::uint8_t> hugeLength =
        Concat({BytesOf("ZTOA"), {0x30, 0x84, 0xff, 0xff, 0xff, 0xf0, 0x02, 0x01, 0x04}});

    const std::vector<std::uint8_t> malformed[] = {
        {},
        BytesOf("ZTO"),
        BytesOf("ZTOA"),
        Blob({3}, good),
        Blob({}, good),
        Blob({1, 4}, good),
        Blob(kVersion4, good, "ZTOB"),
        Blob(kVersion4, Concat({Element(kDerOctetString, {1, 2, 3, 4, 5, 6, 7}), cipherElement})),
        Blob(kVersion4, {}),
        Blob(kVersion4, Concat({Element(kDerInteger, kIvBytes), cipherElement})),
        Blob(kVersion4, Concat({ivElement, Element(kDerInteger, {1})})),
        Blob(kVersion4, Concat({ivElement, cipherElement, cipherElement})),
        cutShort,
        trailing,
        indefinite,
        hugeLength,
    };
    for (const auto& blob : malformed) EXPECT_EQ(ParseObfuscatedBlob(blob), std::nullopt) << Hex(blob);
}

TEST(ObfuscatedBlob, AcceptsTheVersionWithLeadingZeroBytes) {
    EXPECT_TRUE(ParseObfuscatedBlob(Blob({0, 0, 4}, Element(kDerOctetString, kIvBytes))));
}
