#include "win/long_path.h"

#include <gtest/gtest.h>

#include "test_support.h"

// The system's file functions under Wine accept long plain paths, which Windows refuses; so
// the form is checked as text here, and then shown to reach real files.
namespace {

const std::wstring kLongName(120, L'n');

TEST(LongPathForm, ShortPathsStayAsGivenAndLongOnesAreNormalisedFirst) {
    EXPECT_EQ(LongPathForm(L"docs/a.txt"), L"docs/a.txt");
    EXPECT_EQ(LongPathForm(L"C:\\docs\\..\\a.txt"), L"C:\\docs\\..\\a.txt");

    const std::wstring deep = L"C:\\" + kLongName + L"\\" + kLongName + L"\\" + kLongName;
    EXPECT_EQ(LongPathForm(L"C:/x/../" + kLongName + L"/" + kLongName + L"/" + kLongName), L"\\\\?\\" + deep);
    EXPECT_EQ(LongPathForm(L"\\\\server\\share\\" + kLongName + L"\\" + kLongName),
              L"\\\\?\\UNC\\server\\share\\" + kLongName + L"\\" + kLongName);
    EXPECT_EQ(LongPathForm(L"\\\\?\\" + deep), L"\\\\?\\" + deep);
}

TEST(LongPathForm, ARelativePathIsTakenFromTheCurrentFolder) {
    TempFolder folder;
    wchar_t previous[MAX_PATH] = {};
    ASSERT_NE(::GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryW(folder.Path().c_str()));
    const std::wstring form = LongPathForm(kLongName + L"\\" + kLongName + L"\\x");
    ::SetCurrentDirectoryW(previous);

    EXPECT_EQ(form, L"\\\\?\\" + folder.Path(kLongName + L"\\" + kLongName + L"\\x"));
}

TEST(PlainPathForm, ALongPathGoesToTheShellInItsShortFormOrNotAtAll) {
    TempFolder folder;
    const auto tree = [&](const std::wstring& name, int levels) {
        std::wstring path = folder.Path();
        for (int level = 0; level < levels; ++level) {
            path += L"\\" + name;
            ::CreateDirectoryW(LongPathForm(path).c_str(), nullptr);
        }
        WriteFileBytes(LongPathForm(path + L"\\file.txt"), PatternBytes(3));
        return path;
    };
    const std::wstring longNames = tree(kLongName, 3);
    // Names of eight characters are their own short names, so no short form fits.
    const std::wstring shortNames = tree(L"dddddddd", 30);

    EXPECT_EQ(PlainPathForm(L"docs/a.txt"), L"docs/a.txt");
    const std::wstring plain = PlainPathForm(longNames + L"\\file.txt");
    EXPECT_LT(plain.size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_EQ(ReadFileBytes(plain), PatternBytes(3));
    EXPECT_EQ(PlainPathForm(shortNames + L"\\file.txt"), L"");
}

}  // namespace
