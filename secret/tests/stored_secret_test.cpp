// CUserSecret with a store: what the store gives is held for the run, and what it fails with
// leaves nothing behind. The path through the new-password dialog is driven on the display by
// user_secret_test.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

#include "secret/user_secret.h"
#include "win/hresult.h"

namespace {

// A store that answers every read with the same result and bytes, and counts what is asked.
class FixedStore final : public CSecretStore {
public:
    FixedStore(HRESULT result, std::vector<BYTE> bytes) : result_(result), bytes_(std::move(bytes)) {}

    HRESULT Read(HWND, CHeapBlob& secret) override {
        ++reads;
        secret.Assign(bytes_);
        if (result_ == E_UNEXPECTED) ThrowHr(result_);
        return result_;
    }
    HRESULT Write(const CHeapBlob&) override {
        ++writes;
        return S_OK;
    }

    int reads = 0;
    int writes = 0;

private:
    HRESULT result_;
    std::vector<BYTE> bytes_;
};

// Never shown: every test's store answers before a password would be asked for.
constexpr PasswordDialogLayout kUnusedDialog{.templateId = 0, .field = 0};

std::vector<BYTE> Held(const CUserSecret& secret) {
    return {secret.Bytes().begin(), secret.Bytes().end()};
}

TEST(StoredSecret, SecretReadFromTheStoreIsHeldAndNotReadAgain) {
    FixedStore store(S_OK, {1, 2, 3});
    CUserSecret secret(kUnusedDialog);
    EXPECT_EQ(secret.Load(nullptr, &store), S_OK);
    EXPECT_EQ(secret.Load(nullptr, &store), S_OK);
    EXPECT_EQ(Held(secret), (std::vector<BYTE>{1, 2, 3}));
    EXPECT_EQ(store.reads, 1);
    EXPECT_EQ(store.writes, 0);
}

TEST(StoredSecret, FailedReadLeavesNothingHeldAndIsTriedAgain) {
    FixedStore store(E_ACCESSDENIED, {1, 2, 3});
    CUserSecret secret(kUnusedDialog);
    EXPECT_EQ(secret.Load(nullptr, &store), E_ACCESSDENIED);
    EXPECT_TRUE(secret.Bytes().empty());
    EXPECT_EQ(secret.Load(nullptr, &store), E_ACCESSDENIED);
    EXPECT_EQ(store.reads, 2);
}

TEST(StoredSecret, NoSecretAvailableIsNeitherHeldNorStored) {
    FixedStore store(S_FALSE, {});
    CUserSecret secret(kUnusedDialog);
    EXPECT_EQ(secret.Load(nullptr, &store), S_FALSE);
    EXPECT_TRUE(secret.Bytes().empty());
    EXPECT_EQ(store.writes, 0);
}

TEST(StoredSecret, FailureRaisedInTheStoreIsReturnedWithNothingHeld) {
    FixedStore store(E_UNEXPECTED, {7});
    CUserSecret secret(kUnusedDialog);
    EXPECT_EQ(secret.Load(nullptr, &store), E_UNEXPECTED);
    EXPECT_TRUE(secret.Bytes().empty());
}

}  // namespace
