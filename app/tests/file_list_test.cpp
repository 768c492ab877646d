// A whole run where the user's secret cannot be had: the user is told why, and no file is
// touched.
#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "app/traversal/file_list.h"
#include "process_run.h"
#include "test_support.h"
#include "text/res_string.h"
#include "win/wide_text.h"

namespace {

// The message box's text control.
constexpr int kMessageText = 0xFFFF;

TEST(ProcessFileListTest, WithoutTheVerificationLibraryTheReasonIsShownAndNothingIsEncrypted) {
    TempFolder folder;
    const std::wstring path = folder.Path(L"kept.txt");
    const Bytes content = PatternBytes(64);
    WriteFileBytes(path, content);
    CStringList paths;
    paths.Add(path);
    const std::wstring text = std::to_wstring(kMessageText);
    UiDriver driver(L"--controls " + text + L" --get " + text + L" --click 1 --gone");

    ProcessFileList(nullptr, paths, 1);

    std::string output;
    ASSERT_EQ(driver.Finish(output), 0u) << output;
    // The reason's own words are the system's; the line around them is the program's.
    const std::wstring reason = LoadResString(IDS_ERROR_REASON);
    const std::string prefix(reason.begin(), reason.begin() + reason.find(L"%s"));
    EXPECT_NE(output.find(std::to_string(kMessageText) + ": " + prefix), std::string::npos) << output;
    EXPECT_EQ(ReadFileBytes(path), content);
    EXPECT_FALSE(FileExists(path + L".zte"));
}

}  // namespace
