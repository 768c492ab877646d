// Files of risky types are encrypted only when the user agrees; uidrive answers the question
// as a person would.
#include <gtest/gtest.h>

#include <string>

#include "app/resources/resource_ids.h"
#include "engine/file_encryption.h"
#include "engine_test.h"
#include "process_run.h"

namespace {

class ConfirmationTest : public EngineTest {
protected:
    // Encrypts the file while uidrive clicks the button in the question.
    FileOutcome EncryptAnswering(const std::wstring& path, int button) {
        UiDriver driver(L"--controls 1006,1007,1008 --click " + std::to_wstring(button) + L" --gone");
        const FileOutcome outcome = engine_.ProcessFile(path, true);
        std::string output;
        EXPECT_EQ(driver.Finish(output), 0u) << output;
        return outcome;
    }

    DialogRun<CFileEncryption> engine_{kSecret};
};

TEST_F(ConfirmationTest, AnsweringNoSkipsTheProgramWithEntry26) {
    const Bytes content = PatternBytes(100);
    const std::wstring program = File(L"setup.EXE", content);

    EXPECT_EQ(EncryptAnswering(program, IDCANCEL), FileOutcome::Skipped());

    EXPECT_EQ(ReadFileBytes(program), content);
    EXPECT_FALSE(FileExists(program + L".zte"));
    EXPECT_EQ(EngineTest::Text(engine_.Report()), Entry(IDS_SKIPPED_BY_USER, program, S_OK));
}

TEST_F(ConfirmationTest, YesToAllEncryptsLaterProgramsWithoutAsking) {
    const std::wstring first = File(L"setup.exe", PatternBytes(100));
    const std::wstring second = File(L"helper.DLL", PatternBytes(100));

    EXPECT_EQ(EncryptAnswering(first, IDC_YES_TO_ALL), FileOutcome::Done());
    // Asking again would wait for an answer that never comes.
    EXPECT_EQ(engine_.ProcessFile(second, true), FileOutcome::Done());

    EXPECT_TRUE(FileExists(first + L".zte"));
    EXPECT_TRUE(FileExists(second + L".zte"));
    EXPECT_EQ(engine_.Report().Count(), 0u);
}

TEST_F(ConfirmationTest, NoToAllSkipsLaterProgramsWithoutAsking) {
    const std::wstring first = File(L"a.sys", PatternBytes(10));
    const std::wstring second = File(L"b.lnk", PatternBytes(10));
    const std::wstring plain = File(L"c.txt", PatternBytes(10));

    EXPECT_EQ(EncryptAnswering(first, IDC_NO_TO_ALL), FileOutcome::Skipped());
    EXPECT_EQ(engine_.ProcessFile(second, true), FileOutcome::Skipped());
    EXPECT_EQ(engine_.ProcessFile(plain, true), FileOutcome::Done());

    EXPECT_TRUE(FileExists(first));
    EXPECT_TRUE(FileExists(second));
    EXPECT_EQ(EngineTest::Text(engine_.Report()),
              Entry(IDS_SKIPPED_BY_USER, first, S_OK) + Entry(IDS_SKIPPED_BY_USER, second, S_OK));
}

}  // namespace
