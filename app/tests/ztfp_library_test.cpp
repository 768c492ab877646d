#include <gtest/gtest.h>

#include <windows.h>

#include <wincrypt.h>

#include <algorithm>
#include <vector>

#include "app/authentication/ztfp_api.h"
#include "engine_test.h"
#include "test_support.h"
#include "win/unique_handle.h"

namespace {

constexpr wchar_t kUser[] = L"DOMAIN\\tester";
constexpr wchar_t kApplication[] = L"Tapwise Crypto";

class FingerprintLibrary : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(ztfp::Init(), S_OK); }
    void TearDown() override { EXPECT_EQ(ztfp::Term(), S_OK); }

    static void Store(const wchar_t* user, std::vector<BYTE> secret) {
        DATA_BLOB blob{static_cast<DWORD>(secret.size()), secret.data()};
        ASSERT_EQ(ztfp::WriteSecretContent(user, kApplication, &blob), S_OK);
    }

    // What the verification stand-in leaves behind when the user is verified.
    static void IssueHandle(DWORD handle) {
        SetRegistryDword(HKEY_CURRENT_USER, L"SOFTWARE\\Zentaro\\Verification", L"Handle", handle);
    }

    static std::vector<BYTE> Copied(const CLibraryBlob& blob) {
        CHeapBlob copy;
        copy = blob;
        return {copy.Bytes().begin(), copy.Bytes().end()};
    }

    RegistryCleanup secrets_{HKEY_CURRENT_USER, L"SOFTWARE\\Zentaro\\Secrets"};
    RegistryCleanup verification_{HKEY_CURRENT_USER, L"SOFTWARE\\Zentaro\\Verification"};
};

}  // namespace

// None is stored for another user or application; only the password the secret was made
// from gets it, an empty one never, nor any password a secret not made from one (written by
// another program).
TEST_F(FingerprintLibrary, AStoredSecretComesBackOnlyForItsUserApplicationAndPassword) {
    Store(kUser, PasswordSecret(L"right"));
    CLibraryBlob secret;
    ASSERT_EQ(ztfp::AuthenticateWithPassword(kUser, L"right", kApplication, secret.Put()), S_OK);
    EXPECT_EQ(Copied(secret), PasswordSecret(L"right"));

    const struct {
        const wchar_t* user;
        const wchar_t* password;
        const wchar_t* application;
        HRESULT expected;
    } refused[] = {
        {L"DOMAIN\\other", L"right", kApplication, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {kUser, L"right", L"Other application", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {kUser, L"Right", kApplication, E_ACCESSDENIED},
        {kUser, L"righ", kApplication, E_ACCESSDENIED},
        {kUser, L"right ", kApplication, E_ACCESSDENIED},
    };
    for (const auto& c : refused) {
        CLibraryBlob none;
        EXPECT_EQ(ztfp::AuthenticateWithPassword(c.user, c.password, c.application, none.Put()), c.expected)
            << c.user << " " << c.password << " " << c.application;
        EXPECT_TRUE(none.Empty());
    }
    Store(kUser, PasswordSecret(L""));
    EXPECT_EQ(ztfp::AuthenticateWithPassword(kUser, L"", kApplication, secret.Put()), E_ACCESSDENIED);
    Store(kUser, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    EXPECT_EQ(ztfp::AuthenticateWithPassword(kUser, L"right", kApplication, secret.Put()), E_ACCESSDENIED);
}

TEST_F(FingerprintLibrary, SecretIsStoredProtectedNotInPlain) {
    Store(kUser, {0x5a, 0x5a, 0x5a, 0x5a, 0x5a, 0x5a, 0x5a, 0x5a});
    RegKey key;
    ASSERT_EQ(
        ::RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Zentaro\\Secrets", 0, KEY_QUERY_VALUE, key.put()),
        ERROR_SUCCESS);
    std::vector<BYTE> stored(4096);
    DWORD size = static_cast<DWORD>(stored.size());
    ASSERT_EQ(::RegQueryValueExW(key.get(), L"DOMAIN\\tester|Tapwise Crypto", nullptr, nullptr, stored.data(),
                                 &size),
              ERROR_SUCCESS);
    stored.resize(size);
    const std::vector<BYTE> plain(8, 0x5a);
    EXPECT_EQ(std::search(stored.begin(), stored.end(), plain.begin(), plain.end()), stored.end());
}

TEST_F(FingerprintLibrary, AuthenticatesOnlyWithTheIssuedHandleAndOnlyOnce) {
    Store(kUser, {7, 7});
    CLibraryBlob secret;
    EXPECT_EQ(ztfp::Authenticate(1234, kUser, kApplication, secret.Put()), E_ACCESSDENIED);
    IssueHandle(1234);
    EXPECT_EQ(ztfp::Authenticate(4321, kUser, kApplication, secret.Put()), E_ACCESSDENIED);
    ASSERT_EQ(ztfp::Authenticate(1234, kUser, kApplication, secret.Put()), S_OK);
    EXPECT_EQ(Copied(secret), (std::vector<BYTE>{7, 7}));
    EXPECT_EQ(ztfp::Authenticate(1234, kUser, kApplication, secret.Put()), E_ACCESSDENIED);
}

TEST_F(FingerprintLibrary, TermWithoutItsInitIsRefused) {
    EXPECT_EQ(ztfp::Term(), S_OK);
    EXPECT_EQ(ztfp::Term(), E_UNEXPECTED);
    EXPECT_EQ(ztfp::Init(), S_OK);  // for the fixture's own Term
}
