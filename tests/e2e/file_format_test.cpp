// The format a user chose for encryption, read from the registry as the setup program and the
// user leave it: the program writes a sealed file and gives the plain file back from it.
#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "core/registration/registry_keys.h"
#include "dialog_answers.h"
#include "end_to_end_test.h"
#include "process_run.h"
#include "registry_backup.h"

namespace {

using FileFormatTest = EndToEndTest;

TEST_F(FileFormatTest, TheUsersChoiceOfTheSealedFileIsWrittenAndDecryptedToTheSameBytes) {
    const RegistryValueBackup policy(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey, kFileFormatValue);
    const RegistryValueBackup choice(HKEY_CURRENT_USER, kTapwiseCryptoKey, kFileFormatValue);
    ::RegDeleteValueW(CreateRegistryKey(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey).get(), kFileFormatValue);
    SetRegistryDword(HKEY_CURRENT_USER, kTapwiseCryptoKey, kFileFormatValue, 2);
    const Bytes content = PatternBytes(200000);
    const std::wstring plain = File(L"report.txt", content);

    Encrypt(plain);

    ASSERT_FALSE(FileExists(plain));
    const Bytes sealed = ReadFileBytes(plain + L".zte");
    ASSERT_GE(sealed.size(), 4u);
    EXPECT_EQ(std::string(sealed.begin(), sealed.begin() + 4), "ZTS2");
    {
        const ProcessRun run = RunProgram(L"/d " + Quoted(plain + L".zte"));
        ConfirmIdentity(IDS_VERIFY_DECRYPT);
        ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    }
    EXPECT_EQ(ReadFileBytes(plain), content);
    EXPECT_FALSE(FileExists(plain + L".zte"));
}

}  // namespace
