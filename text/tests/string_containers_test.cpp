#include <gtest/gtest.h>

#include <vector>

#include "text/string_containers.h"

TEST(StringList, PositionPastTheEndGivesAnEmptyString) {
    CStringList list;
    list.Add(L"b");
    EXPECT_EQ(list.GetAt(0), L"b");
    EXPECT_EQ(list.GetAt(1), L"");
    EXPECT_EQ(list.GetAt(1000), L"");
}

// The extension filter is written in this order: code units compared as unsigned 16-bit
// numbers, case-sensitive.
TEST(StringSet, OrdersCodeUnitsAsUnsigned) {
    CStringSet set;
    for (const wchar_t* s : {L"\xFFFF", L"\x8000", L"z", L"Z", L"a"}) set.Add(s);
    const std::vector<std::wstring> members(set.begin(), set.end());
    EXPECT_EQ(members, (std::vector<std::wstring>{L"Z", L"a", L"z", L"\x8000", L"\xFFFF"}));
}
