// The one registry home, against the real registry in a scratch key: what the throwing calls
// raise, what the Try reads refuse, and that deleting is done once nothing is left.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "win/hresult.h"
#include "win/registry.h"

namespace {

constexpr wchar_t kScratchKey[] = L"SOFTWARE\\ZtRegistryTest";

HRESULT CodeOf(void (*step)(HKEY), HKEY key) {
    return FailureOf([&] { step(key); });
}

class RegistryTest : public ::testing::Test {
protected:
    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(::RegSetValueExW(key_.get(), name, 0, type, static_cast<const BYTE*>(data), bytes),
                  ERROR_SUCCESS);
    }

    RegistryCleanup cleanup_{HKEY_LOCAL_MACHINE, kScratchKey};
    RegKey key_ = CreateKey(HKEY_LOCAL_MACHINE, kScratchKey);
};

TEST_F(RegistryTest, WrittenValuesReadBackAsTheirOwnTypeOnly) {
    SetString(key_.get(), L"text", L"C:\\Folder");
    SetDword(key_.get(), L"number", 42);
    SetMultiString(key_.get(), L"list", {L".exe", L".dll"});

    EXPECT_EQ(ReadString(key_.get(), L"text"), L"C:\\Folder");
    EXPECT_EQ(TryReadDword(key_.get(), L"number"), DWORD{42});
    EXPECT_EQ(TryReadMultiString(key_.get(), L"list"), (std::vector<std::wstring>{L".exe", L".dll"}));

    EXPECT_EQ(TryReadString(key_.get(), L"number"), std::nullopt);
    EXPECT_EQ(TryReadDword(key_.get(), L"text"), std::nullopt);
    EXPECT_EQ(TryReadMultiString(key_.get(), L"text"), std::nullopt);
    EXPECT_EQ(CodeOf([](HKEY key) { ReadString(key, L"number"); }, key_.get()),
              HRESULT_FROM_WIN32(ERROR_INVALID_DATATYPE));
    EXPECT_EQ(CodeOf([](HKEY key) { ReadString(key, L"missing"); }, key_.get()),
              HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
}

TEST_F(RegistryTest, AStringReadsWholeOnlyWhenItFitsWithItsTerminator) {
    SetString(key_.get(), L"four", L"abcd");
    EXPECT_EQ(TryReadString(key_.get(), L"four", 5), L"abcd");
    EXPECT_EQ(TryReadString(key_.get(), L"four", 4), std::nullopt);
    EXPECT_EQ(CodeOf([](HKEY key) { ReadString(key, L"four", 4); }, key_.get()),
              HRESULT_FROM_WIN32(ERROR_MORE_DATA));

    // Stored without its terminator, the value still ends where its data ends.
    const std::wstring bare = L"xyz";
    SetRaw(L"bare", REG_SZ, bare.data(), static_cast<DWORD>(bare.size() * sizeof(wchar_t)));
    EXPECT_EQ(TryReadString(key_.get(), L"bare", 4), L"xyz");
}

TEST_F(RegistryTest, OnlyAnExpandableStringIsExpanded) {
    ASSERT_TRUE(::SetEnvironmentVariableW(L"ZT_REGISTRY_TEST", L"expanded-into-a-much-longer-text"));
    const std::wstring text = L"%ZT_REGISTRY_TEST%\\x";
    SetRaw(L"expandable", REG_EXPAND_SZ, text.c_str(),
           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    SetString(key_.get(), L"plain", text);

    EXPECT_EQ(TryReadExpandedString(key_.get(), L"expandable"), L"expanded-into-a-much-longer-text\\x");
    EXPECT_EQ(TryReadExpandedString(HKEY_LOCAL_MACHINE, kScratchKey, L"plain"), text);
    EXPECT_EQ(TryReadString(key_.get(), L"expandable"), text);
    // The stored text fits in 25 units, its expansion does not.
    EXPECT_EQ(TryReadExpandedString(key_.get(), L"expandable", 25), std::nullopt);
}

TEST_F(RegistryTest, DeletingIsDoneOnceNothingIsLeftAndAKeyWithSubKeysStays) {
    SetString(CreateKey(key_.get(), L"a\\b\\c").get(), L"deep", L"1");
    SetString(key_.get(), L"value", L"1");

    EXPECT_TRUE(FAILED(CodeOf([](HKEY key) { DeleteKey(key, L"a"); }, key_.get())));
    EXPECT_EQ(SubKeyNames(key_.get()), std::vector<std::wstring>{L"a"});
    DeleteTree(key_.get(), L"a");
    EXPECT_TRUE(SubKeyNames(key_.get()).empty());
    DeleteValue(key_.get(), L"value");
    EXPECT_TRUE(ValueNames(key_.get()).empty());

    EXPECT_EQ(CodeOf([](HKEY key) { DeleteTree(key, L"a"); }, key_.get()), S_OK);
    EXPECT_EQ(CodeOf([](HKEY key) { DeleteKey(key, L"a"); }, key_.get()), S_OK);
    EXPECT_EQ(CodeOf([](HKEY key) { DeleteValue(key, L"value"); }, key_.get()), S_OK);
}

TEST_F(RegistryTest, AMissingKeyIsEmptyForTheTryAndIfPresentOpensAndAnErrorForOpenKey) {
    EXPECT_FALSE(TryOpenKey(key_.get(), L"missing"));
    EXPECT_FALSE(OpenKeyIfPresent(key_.get(), L"missing", KEY_READ));
    EXPECT_EQ(CodeOf([](HKEY key) { OpenKey(key, L"missing"); }, key_.get()),
              HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(TryReadDword(nullptr, L"number"), std::nullopt);
    EXPECT_TRUE(SubKeyNames(nullptr).empty());

    CreateKey(key_.get(), L"present");
    EXPECT_TRUE(OpenKeyIfPresent(key_.get(), L"present", KEY_READ));
    const std::optional<KeyCounts> counts = TryReadCounts(key_.get());
    ASSERT_TRUE(counts);
    EXPECT_EQ(counts->subKeys, 1u);
    EXPECT_EQ(counts->values, 0u);
}

}  // namespace
