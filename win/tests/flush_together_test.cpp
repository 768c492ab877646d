#include "win/flush_together.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "win/unique_handle.h"

namespace {

// Every file is flushed whatever becomes of the others, and each failure is told for its own
// file: a file opened for reading alone cannot be flushed.
TEST(FlushTogetherTest, EachFileHasItsOwnResultAndAFailureTakesNoOtherWithIt) {
    TempFolder folder;
    std::vector<FileHandle> files;
    std::vector<HANDLE> handles;
    for (int i = 0; i < 21; ++i) {
        const std::wstring path = folder.Path(L"f" + std::to_wstring(i));
        WriteFileBytes(path, PatternBytes(100 + i));
        const DWORD access = i % 5 == 3 ? GENERIC_READ : GENERIC_WRITE;
        files.emplace_back(::CreateFileW(path.c_str(), access, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(files.back());
        handles.push_back(files.back().get());
    }

    const std::vector<DWORD> errors = FlushTogether(handles);

    ASSERT_EQ(errors.size(), handles.size());
    for (std::size_t i = 0; i < errors.size(); ++i)
        EXPECT_EQ(errors[i], i % 5 == 3 ? DWORD{ERROR_ACCESS_DENIED} : DWORD{0}) << i;
    EXPECT_TRUE(FlushTogether({}).empty());
}

}  // namespace
