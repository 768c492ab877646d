#include <gtest/gtest.h>

#include <vector>

#include "app/string_list.h"
#include "app/string_set.h"

TEST(StringList, KeepsOrderAndDuplicates) {
    CStringList list;
    list.Add(L"b");
    list.Add(L"a");
    list.Add(L"b");
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.GetAt(0), L"b");
    EXPECT_EQ(list.GetAt(1), L"a");
    EXPECT_EQ(list.GetAt(2), L"b");
    EXPECT_EQ(list.GetAt(3), L"");
    EXPECT_EQ(list.GetAt(1000), L"");
}

TEST(StringSet, OrdersByCodeUnitCaseSensitivePrefixFirst) {
    CStringSet set;
    for (const wchar_t* s : {L"exe", L"a", L"A", L"ab", L"\x00E9", L"Z", L"a"}) set.Add(s);
    const std::vector<std::wstring> members(set.begin(), set.end());
    const std::vector<std::wstring> expected{L"A", L"Z", L"a", L"ab", L"exe", L"\x00E9"};
    EXPECT_EQ(members, expected);
    EXPECT_TRUE(set.Contains(L"ab"));
    EXPECT_FALSE(set.Contains(L"AB"));
}

TEST(StringSet, OrdersCodeUnitsAsUnsigned) {
    CStringSet set;
    set.Add(L"\xFFFF");
    set.Add(L"\x8000");
    set.Add(L"z");
    const std::vector<std::wstring> members(set.begin(), set.end());
    EXPECT_EQ(members, (std::vector<std::wstring>{L"z", L"\x8000", L"\xFFFF"}));
}
