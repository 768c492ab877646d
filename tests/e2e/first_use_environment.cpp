// Every test runs for a user who has chosen a password: before the first test the program
// is run once for a user without a secret, and the password is chosen in its dialog. The
// secrets and verification handles of the library stand-ins, and the decrypted-items store
// that the first run writes, are put back afterwards.
#include <gtest/gtest.h>

#include <optional>

#include "app/resources/resource_ids.h"
#include "dialog_answers.h"
#include "end_to_end_test.h"
#include "process_run.h"
#include "registry_backup.h"
#include "store_sandbox.h"
#include "test_support.h"

namespace {

constexpr wchar_t kSecretsKey[] = L"SOFTWARE\\Zentaro\\Secrets";
constexpr wchar_t kVerificationKey[] = L"SOFTWARE\\Zentaro\\Verification";
// The settings library's answers; without them the program is not in personal mode.
constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Zentaro\\Settings";

class FirstUseEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        store_.emplace();
        secrets_.emplace(HKEY_CURRENT_USER, kSecretsKey);
        verification_.emplace(HKEY_CURRENT_USER, kVerificationKey);
        settings_.emplace(HKEY_CURRENT_USER, kSettingsKey);
        DeleteRegistryTree(HKEY_CURRENT_USER, kSecretsKey);
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
        const TempFolder folder;
        const std::wstring file = folder.Path(L"first.txt");
        WriteFileBytes(file, PatternBytes(100));
        const ProcessRun run = RunProgram(L"/e " + Quoted(file));
        ConfirmIdentity(IDS_VERIFY_ENCRYPT);
        ChooseNewPassword(kFirstUsePassword);
        ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
        ASSERT_TRUE(FileExists(file + L".zte")) << "the first run did not encrypt with the new password";
    }

    void TearDown() override {
        settings_.reset();
        verification_.reset();
        secrets_.reset();
        store_.reset();
    }

private:
    std::optional<StoreSandbox> store_;
    std::optional<RegistryBackup> secrets_;
    std::optional<RegistryBackup> verification_;
    std::optional<RegistryBackup> settings_;
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new FirstUseEnvironment);

}  // namespace

const wchar_t kFirstUsePassword[] = L"first use";
