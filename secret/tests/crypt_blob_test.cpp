#include <gtest/gtest.h>

#include <windows.h>

#include <wincrypt.h>

#include <array>
#include <string>
#include <vector>

#include "core/crypto/md4.h"
#include "core/crypto/obfuscated_blob.h"
#include "core/crypto/xtea_feedback.h"
#include "core/text/der.h"
#include "secret/crypt_blob.h"
#include "secret/obfuscation_key.h"
#include "secret/password_dialog.h"
#include "win/hresult.h"

namespace {

constexpr core::XteaBlock kIv{0x11223344, 0x55667788};

std::vector<BYTE> Plain(std::size_t size) {
    std::vector<BYTE> plain(size);
    for (std::size_t i = 0; i < size; ++i) plain[i] = static_cast<BYTE>('a' + i);
    return plain;
}

std::vector<BYTE> Obfuscated(std::span<const BYTE> plain, const core::ObfuscationKey& key) {
    return core::BuildObfuscatedBlob(kIv, core::XteaFeedbackEncipher(plain, key, kIv));
}

std::vector<BYTE> BytesOf(const CHeapBlob& blob) {
    return {blob.Bytes().begin(), blob.Bytes().end()};
}

std::wstring Base64Of(std::span<const BYTE> bytes) {
    DWORD size = 0;
    Check(::CryptBinaryToStringW(bytes.data(), static_cast<DWORD>(bytes.size()), CRYPT_STRING_BASE64, nullptr,
                                 &size));
    std::wstring text(size, L'\0');
    Check(::CryptBinaryToStringW(bytes.data(), static_cast<DWORD>(bytes.size()), CRYPT_STRING_BASE64,
                                 text.data(), &size));
    text.resize(size);
    return text;
}

FILETIME ProcessCreationTime() {
    FILETIME creation{}, exit{}, kernel{}, user{};
    Check(::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user));
    return creation;
}

}  // namespace

TEST(CryptBlob, AbsentCiphertextGivesAnEmptyBlob) {
    std::vector<BYTE> pair, payload, elements;
    core::AppendDerElement(pair, core::kDerOctetString, core::XteaBlockBytes(kIv));
    core::AppendDerElement(payload, core::kDerSequence, pair);
    core::AppendDerElement(elements, core::kDerInteger, std::array<BYTE, 1>{4});
    core::AppendDerElement(elements, core::kDerOctetString, payload);
    std::vector<BYTE> bytes{'Z', 'T', 'O', 'A'};
    core::AppendDerElement(bytes, core::kDerSequence, elements);

    CHeapBlob blob;
    blob.Assign(bytes);
    blob.Deobfuscate(ProcessObfuscationKey());
    EXPECT_TRUE(blob.Empty());
}

TEST(CryptBlob, KeyDependsOnTheProcessCreationTime) {
    FILETIME other = ProcessCreationTime();
    other.dwLowDateTime += 10'000'000;  // one second later
    const auto ownKey = ProcessObfuscationKey();
    EXPECT_EQ(ObfuscationKeyFor(ProcessCreationTime()), ownKey);
    const auto otherKey = ObfuscationKeyFor(other);
    ASSERT_NE(std::ranges::equal(std::span(otherKey).first(4), std::span(ownKey).first(4)), true);

    const auto plain = Plain(16);
    CHeapBlob blob;
    blob.Assign(Obfuscated(plain, otherKey));
    blob.Deobfuscate(ownKey);
    EXPECT_EQ(blob.Bytes().size(), plain.size());
    EXPECT_NE(BytesOf(blob), plain);
}

TEST(CryptBlob, ConstructedFromBase64TextOfABlobForThisProcess) {
    const auto plain = Plain(21);
    const CHeapBlob blob(Base64Of(Obfuscated(plain, ProcessObfuscationKey())));
    EXPECT_EQ(BytesOf(blob), plain);
}

TEST(CryptBlob, ConstructionFromMalformedTextRaisesItsStatus) {
    auto construct = [](std::wstring_view text) {
        try {
            CHeapBlob blob(text);
            return S_OK;
        } catch (const HResultError& e) {
            return e.code();
        }
    };
    EXPECT_EQ(construct(L"not base64!"), HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
    EXPECT_EQ(construct(Base64Of(Plain(40))), NTE_BAD_DATA);
}

// Counts the buffers it has handed out and not yet had back; the heap allocator zeroes a
// buffer when it is given back, so one never given back is never zeroed either.
struct CountingAllocator {
    static inline int outstanding = 0;
    static BYTE* Allocate(DWORD size) {
        ++outstanding;
        return new BYTE[size == 0 ? 1 : size]();
    }
    static void Free(BYTE* data, DWORD) noexcept {
        if (!data) return;
        --outstanding;
        delete[] data;
    }
};

TEST(CryptBlob, AFailedConstructionFromBase64GivesItsBufferBack) {
    using CountedBlob = CCryptBlob<_CRYPTOAPI_BLOB, CountingAllocator>;
    auto malformed = Obfuscated(Plain(8), ProcessObfuscationKey());
    malformed[3] = 'B';
    EXPECT_THROW(CountedBlob blob(Base64Of(malformed)), HResultError);
    EXPECT_EQ(CountingAllocator::outstanding, 0);
}

// A one-character password hashes four bytes: its unit and the terminator; the empty one
// hashes the terminator alone. The secret outlives the blobs it was made in.
TEST(CryptBlob, APasswordsSecretIsTheMd4OfItsUnitsAndTerminator) {
    const std::pair<const wchar_t*, std::vector<BYTE>> cases[] = {{L"a", {'a', 0, 0, 0}}, {L"", {0, 0}}};
    for (const auto& [password, hashed] : cases) {
        CHeapBlob secret;
        MakePasswordSecret(password, secret);
        const auto expected = core::Md4Of(hashed);
        EXPECT_EQ(BytesOf(secret), std::vector<BYTE>(expected.begin(), expected.end())) << password;
    }
}
