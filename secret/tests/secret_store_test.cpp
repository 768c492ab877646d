// The stand-ins' store of secrets: the verification stand-in asks for a password only when it
// finds a secret of the user's, so the user must be found whatever the case of the name.
#include <gtest/gtest.h>

#include "companions/secret_store/secret_store.h"
#include "core/crypto/password.h"
#include "test_support.h"

namespace {

TEST(SecretStoreTest, AnAccountNameInAnyCaseFindsTheSecretAndItsPassword) {
    const RegistryCleanup secrets{HKEY_CURRENT_USER, L"SOFTWARE\\Zentaro\\Secrets"};
    core::Md4Digest digest = core::PasswordSecret(u"pass word");
    const DATA_BLOB blob{static_cast<DWORD>(digest.size()), digest.data()};
    ASSERT_EQ(WriteStoredSecret(L"PC\\alice", L"Tapwise Crypto", blob), S_OK);

    EXPECT_TRUE(UserHasSecret(L"PC\\ALICE"));
    EXPECT_TRUE(IsUsersPassword(L"pc\\Alice", L"pass word"));
    EXPECT_FALSE(IsUsersPassword(L"PC\\ALICE", L"Pass word"));
    EXPECT_FALSE(UserHasSecret(L"PC\\alic"));
    EXPECT_FALSE(UserHasSecret(L"PC\\bob"));
}

}  // namespace
