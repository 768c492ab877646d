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

// Only what the store gave in full is held, and then not read again; a failure, also one
// raised in the store, or no secret leaves nothing held, nothing stored, and is tried again.
TEST(StoredSecret, OnlyASecretTheStoreGaveIsHeldAndNotReadAgain) {
    const struct {
        HRESULT result;
        std::vector<BYTE> bytes;
        std::vector<BYTE> held;
        int reads;
    } cases[] = {
        {S_OK, {1, 2, 3}, {1, 2, 3}, 1},
        {E_ACCESSDENIED, {1, 2, 3}, {}, 2},
        {S_FALSE, {}, {}, 2},
        {E_UNEXPECTED, {7}, {}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        FixedStore store(c.result, c.bytes);
        CUserSecret secret(kUnusedDialog);
        for (int load = 0; load < 2; ++load) EXPECT_EQ(secret.Load(nullptr, &store), c.result);
        EXPECT_EQ(Held(secret), c.held);
        EXPECT_EQ(store.reads, c.reads);
        EXPECT_EQ(store.writes, 0);
    }
}

}  // namespace
