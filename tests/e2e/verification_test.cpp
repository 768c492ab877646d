// The verification in front of every run: whoever passes it gets the key to the user's files.
#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "dialog_answers.h"
#include "end_to_end_test.h"
#include "process_run.h"

namespace {

using VerificationTest = EndToEndTest;

// A wrong password is refused and decrypts nothing; giving up then ends the run quietly, since
// the user knows why nothing happened.
TEST_F(VerificationTest, AWrongPasswordDecryptsNothingAndCancelEndsTheRunWithoutAMessage) {
    const std::wstring plain = File(L"a.txt", PatternBytes(2000));
    Encrypt(plain);
    ASSERT_TRUE(IsEncrypted(plain));
    const Bytes encrypted = ReadFileBytes(plain + L".zte");

    const ProcessRun run = RunProgram(L"/d " + Quoted(plain + L".zte"));
    AwaitVerification(IDS_VERIFY_DECRYPT);
    EXPECT_NE(TypeWrongPassword(L"not my password"), L"");
    CancelVerification();

    EXPECT_FALSE(ProgramMessageComes(3000));
    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    EXPECT_EQ(ReadFileBytes(plain + L".zte"), encrypted);
    EXPECT_FALSE(FileExists(plain));
}

}  // namespace
