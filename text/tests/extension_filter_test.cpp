#include <gtest/gtest.h>

#include <vector>

#include "core/registration/registry_keys.h"
#include "test_support.h"
#include "text/extension_filter.h"
#include "win/unique_handle.h"

namespace {

class ExtensionFilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, key_.put(), nullptr),
                  ERROR_SUCCESS);
    }

    void SetValue(DWORD type, const std::wstring& data) {
        ASSERT_EQ(::RegSetValueExW(key_.get(), kExtensionFilterValue, 0, type,
                                   reinterpret_cast<const BYTE*>(data.data()),
                                   static_cast<DWORD>(data.size() * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

    static std::vector<std::wstring> Members(const CStringSet& set) { return {set.begin(), set.end()}; }

    RegistryCleanup cleanup_{HKEY_LOCAL_MACHINE, kTapwiseCryptoKey};
    RegKey key_;
};

TEST_F(ExtensionFilterTest, ReadsStringsUpToTheFirstEmptyOne) {
    SetValue(REG_MULTI_SZ, std::wstring(L"exe\0bat\0exe\0\0com\0\0", 20));
    CStringSet set;
    EXPECT_TRUE(LoadExtensionFilter(set));
    EXPECT_EQ(Members(set), (std::vector<std::wstring>{L"bat", L"exe"}));
}

TEST_F(ExtensionFilterTest, OnlyTheFinalZeroGivesAnEmptySet) {
    SetValue(REG_MULTI_SZ, std::wstring(1, L'\0'));
    CStringSet set;
    EXPECT_TRUE(LoadExtensionFilter(set));
    EXPECT_EQ(set.Count(), 0u);
}

TEST_F(ExtensionFilterTest, AValueWithoutTerminatorsStillEnds) {
    SetValue(REG_MULTI_SZ, L"dll");
    CStringSet set;
    EXPECT_TRUE(LoadExtensionFilter(set));
    EXPECT_EQ(Members(set), (std::vector<std::wstring>{L"dll"}));
}

TEST_F(ExtensionFilterTest, MissingOrWrongValueLeavesTheSetUnchanged) {
    CStringSet set;
    set.Add(L"keep");
    EXPECT_FALSE(LoadExtensionFilter(set));
    SetValue(REG_SZ, std::wstring(L"exe\0", 4));
    EXPECT_FALSE(LoadExtensionFilter(set));
    EXPECT_EQ(Members(set), (std::vector<std::wstring>{L"keep"}));
}

TEST(ExtensionFilter, MissingKeyGivesFalse) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey);
    CStringSet set;
    EXPECT_FALSE(LoadExtensionFilter(set));
}

}  // namespace
