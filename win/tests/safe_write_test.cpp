#include "win/safe_write.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "test_support.h"
#include "win/unfinished_path.h"

namespace {

constexpr DWORD kShownAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM;

DWORD ShownAttributesOf(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    return attributes & kShownAttributes;
}

class SafeWriteTest : public ::testing::Test {
protected:
    TempFolder folder_;
    const std::wstring target_ = folder_.Path(L"report.odt");
};

TEST_F(SafeWriteTest, UntilCommittedTheFileIsHiddenUnderTheFirstFreeUnfinishedName) {
    WriteFileBytes(UnfinishedPath(target_, 1), PatternBytes(3));
    CSafeWrite file(target_, nullptr);
    file.Write(PatternBytes(10));

    EXPECT_FALSE(FileExists(target_));
    EXPECT_EQ(ShownAttributesOf(UnfinishedPath(target_, 2)), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(ReadFileBytes(UnfinishedPath(target_, 1)), PatternBytes(3));
}

TEST_F(SafeWriteTest, CommitPlacesTheWholeContentWithExactlyTheFinalAttributes) {
    Bytes expected = PatternBytes(100);
    {
        CSafeWrite file(target_, nullptr);
        file.Write(expected);
        const Bytes patch = PatternBytes(4, 99);
        file.WriteAt(10, patch);
        std::copy(patch.begin(), patch.end(), expected.begin() + 10);
        file.Write(PatternBytes(5, 42));
        file.SetFinalAttributes(FILE_ATTRIBUTE_READONLY);
        file.Commit();
    }
    const Bytes tail = PatternBytes(5, 42);
    expected.insert(expected.end(), tail.begin(), tail.end());

    EXPECT_EQ(ShownAttributesOf(target_), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(target_), expected);
    EXPECT_FALSE(FileExists(UnfinishedPath(target_, 1)));
}

TEST_F(SafeWriteTest, ACommitOntoATakenNameLeavesThatFileAndRemovesItsOwn) {
    WriteFileBytes(target_, PatternBytes(7));
    {
        CSafeWrite file(target_, nullptr);
        file.Write(PatternBytes(20, 1));
        EXPECT_THROW(file.Commit(), core::OutputTaken);
    }
    EXPECT_EQ(ReadFileBytes(target_), PatternBytes(7));
    EXPECT_FALSE(FileExists(UnfinishedPath(target_, 1)));
}

TEST_F(SafeWriteTest, ACommitReplacingPutsTheWholeFileInPlaceOfTheOldOneAndKeepsIt) {
    WriteFileBytes(target_, PatternBytes(7));
    {
        CSafeWrite file(target_, nullptr);
        file.Write(PatternBytes(20, 1));
        file.SetFinalAttributes(FILE_ATTRIBUTE_SYSTEM);
        file.CommitReplacing();
    }
    EXPECT_EQ(ShownAttributesOf(target_), FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(ReadFileBytes(target_), PatternBytes(20, 1));
    EXPECT_FALSE(FileExists(UnfinishedPath(target_, 1)));
}

TEST_F(SafeWriteTest, AFileNeverCommittedGoesWithItsObject) {
    {
        CSafeWrite file(target_, nullptr);
        file.Write(PatternBytes(20));
    }
    EXPECT_FALSE(FileExists(UnfinishedPath(target_, 1)));
    EXPECT_FALSE(FileExists(target_));
}

TEST_F(SafeWriteTest, ItsStepsThrowTheSystemsFailureAndThePlacedFileStays) {
    WriteFileBytes(target_, PatternBytes(7));
    {
        CSafeWrite file(target_, nullptr);
        file.Write(PatternBytes(20, 1));
        file.Flush();
        try {
            file.MoveIntoPlace();
            ADD_FAILURE() << "moved onto a taken name";
        } catch (const HResultError& error) {
            EXPECT_TRUE(IsNameTaken(error.code()));
        }
        EXPECT_EQ(file.Path(), UnfinishedPath(target_, 1));
        ASSERT_TRUE(::DeleteFileW(target_.c_str()));
        file.MoveIntoPlace();
        EXPECT_TRUE(file.Placed());
        file.MakeDurable();
    }
    EXPECT_EQ(ReadFileBytes(target_), PatternBytes(20, 1));
}

TEST_F(SafeWriteTest, ADisownedFileStaysUnderItsUnfinishedName) {
    {
        CSafeWrite file(target_, nullptr);
        file.Write(PatternBytes(20));
        file.Disown();
    }
    EXPECT_EQ(ReadFileBytes(UnfinishedPath(target_, 1)), PatternBytes(20));
}

}  // namespace
