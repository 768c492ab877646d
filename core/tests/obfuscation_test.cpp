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

// The expected blocks come from a separate transcription of the variant (arithmetic shifts,
// byte key words), which with logical shifts and 32-bit key words gives the published XTEA
// vector dee9d4d8 f7131ed9; each row's standard result is noted to show the row tells them apart.
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

// The initial vector is read little-endian from the first eight bytes of its element, a longer
// one's rest ignored; the version may carry leading zero bytes; a built blob with long-form
// lengths reads back.
TEST(ObfuscatedBlob, ReadsTheInitialVectorAndTheCiphertext) {
    const std::vector<std::uint8_t> cipher(13, 0x5a);
    auto longIv = kIvBytes;
    longIv.push_back(0xee);
    const std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>> cases[] = {
        {Blob(kVersion4, Concat({Element(kDerOctetString, kIvBytes), Element(kDerOctetString, cipher)})),
         cipher},
        {Blob(kVersion4, Element(kDerOctetString, longIv)), {}},
        {Blob({0, 0, 4}, Element(kDerOctetString, kIvBytes)), {}},
        {BuildObfuscatedBlob(kIv, std::vector<std::uint8_t>(300, 0x33)),
         std::vector<std::uint8_t>(300, 0x33)},
    };
    for (const auto& [blob, ciphertext] : cases) {
        const auto parsed = ParseObfuscatedBlob(blob);
        ASSERT_TRUE(parsed) << Hex(blob);
        EXPECT_EQ(parsed->iv, kIv);
        EXPECT_EQ(std::vector<std::uint8_t>(parsed->ciphertext.begin(), parsed->ciphertext.end()),
                  ciphertext);
    }
    // The outer SEQUENCE of the built blob holds 325 bytes: its length takes the two-byte form.
    EXPECT_EQ(Hex(cases[3].first).substr(0, 8 + 8 + 6), Hex(BytesOf("ZTOA")) + "30820145" + "020104");
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
