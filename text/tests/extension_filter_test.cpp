#include <gtest/gtest.h>

#include <vector>

#include "core/registration/registry_keys.h"
#include "test_support.h"
#include "text/extension_filter.h"
#include "text/string_containers.h"
#include "win/unique_handle.h"

namespace {

std::vector<std::wstring> Members(const CStringSet& set) {
    return {set.begin(), set.end()};
}

// The filter's strings are added to what the set holds, up to the first empty string; a
// missing key or value, or one of another type, adds nothing and says so.
TEST(ExtensionFilter, AddsTheMultiStringUpToItsFirstEmptyString) {
    constexpr DWORD kNoValue = REG_NONE, kNoKey = ~DWORD{0};
    RegistryCleanup cleanup(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey);
    struct Case {
        DWORD type;
        std::wstring data;
        bool loaded;
        std::vector<std::wstring> members;
    };
    const Case cases[] = {
        {REG_MULTI_SZ, std::wstring(L"exe\0bat\0exe\0\0com\0\0", 20), true, {L"bat", L"exe", L"keep"}},
        {REG_MULTI_SZ, std::wstring(1, L'\0'), true, {L"keep"}},
        {REG_MULTI_SZ, L"dll", true, {L"dll", L"keep"}},  // without terminators it still ends
        {REG_SZ, std::wstring(L"exe\0", 4), false, {L"keep"}},
        {kNoValue, L"", false, {L"keep"}},
        {kNoKey, L"", false, {L"keep"}},
    };
    for (const Case& c : cases) {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey);
        RegKey key;
        if (c.type != kNoKey) {
            ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                        nullptr, key.put(), nullptr),
                      ERROR_SUCCESS);
        }
        if (c.type != kNoKey && c.type != kNoValue) {
            ASSERT_EQ(::RegSetValueExW(key.get(), kExtensionFilterValue, 0, c.type,
                                       reinterpret_cast<const BYTE*>(c.data.data()),
                                       static_cast<DWORD>(c.data.size() * sizeof(wchar_t))),
                      ERROR_SUCCESS);
        }
        CStringSet set;
        set.Add(L"keep");
        EXPECT_EQ(LoadExtensionFilter(set), c.loaded) << c.type;
        EXPECT_EQ(Members(set), c.members) << c.type;
    }
}

// The extension filter is written in this order: code units compared as unsigned 16-bit
// numbers, case-sensitive.
TEST(StringSet, OrdersCodeUnitsAsUnsigned) {
    CStringSet set;
    for (const wchar_t* s : {L"\xFFFF", L"\x8000", L"z", L"Z", L"a"}) set.Add(s);
    EXPECT_EQ(Members(set), (std::vector<std::wstring>{L"Z", L"a", L"z", L"\x8000", L"\xFFFF"}));
}

TEST(StringList, PositionPastTheEndGivesAnEmptyString) {
    CStringList list;
    list.Add(L"b");
    EXPECT_EQ(list.GetAt(0), L"b");
    EXPECT_EQ(list.GetAt(1), L"");
    EXPECT_EQ(list.GetAt(1000), L"");
}

}  // namespace
