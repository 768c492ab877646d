// The registrar that runs a module's registration script: what registering writes, what a
// ForceRemove key loses, and what unregistering keeps.
#include <gtest/gtest.h>

#include "registry_backup.h"
#include "setup/registration_script.h"
#include "test_support.h"

namespace {

constexpr wchar_t kTestKey[] = L"Software\\ZentaroScriptTest";
const core::ScriptReplacement kModule[] = {{u"MODULE", u"C:\\It's {here}\\module.dll"}};

std::wstring Under(const wchar_t* subKey) {
    return std::wstring(kTestKey) + L"\\" + subKey;
}

class RegistrationScriptTest : public ::testing::Test {
protected:
    static HRESULT Run(UINT script, bool registering) {
        return RunRegistrationScript(::GetModuleHandleW(nullptr), script, registering, kModule);
    }

    RegistryBackup backup_{HKEY_CURRENT_USER, kTestKey};
};

TEST_F(RegistrationScriptTest, RegisteringWritesEveryKeyAndValueWithTheReplacements) {
    ASSERT_EQ(Run(1, true), S_OK);
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, kTestKey, L"Named"), L"named");
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, Under(L"Plain").c_str(), nullptr),
              L"C:\\It's {here}\\module.dll");
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, Under(L"Plain\\Child").c_str(), nullptr), L"child");
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, Under(L"Forced").c_str(), nullptr), L"forced");
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, Under(L"Forced").c_str(), L"Inner"), L"inner");
}

TEST_F(RegistrationScriptTest, AForceRemoveKeyIsWrittenAfreshAndOthersKeepWhatTheyHold) {
    SetRegistryString(HKEY_CURRENT_USER, Under(L"Forced\\Old"), nullptr, L"old");
    SetRegistryString(HKEY_CURRENT_USER, Under(L"Plain"), L"Other", L"other");
    ASSERT_EQ(Run(1, true), S_OK);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, Under(L"Forced\\Old").c_str()));
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, Under(L"Plain").c_str(), L"Other"), L"other");
}

TEST_F(RegistrationScriptTest, UnregisteringRemovesTheScriptsKeysButNotOthersOrNoRemoveKeys) {
    ASSERT_EQ(Run(1, true), S_OK);
    SetRegistryString(HKEY_CURRENT_USER, Under(L"Forced\\Foreign"), nullptr, L"foreign");
    ASSERT_EQ(Run(1, false), S_OK);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, Under(L"Plain").c_str()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, Under(L"Forced").c_str())) << "with what it holds";
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kTestKey));
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, kTestKey, L"Named"), std::nullopt);

    ASSERT_EQ(Run(1, true), S_OK);
    SetRegistryString(HKEY_CURRENT_USER, Under(L"Plain\\Foreign"), nullptr, L"foreign");
    ASSERT_EQ(Run(1, false), S_OK);
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, Under(L"Plain\\Foreign").c_str()))
        << "another program's key under a plain key keeps it";
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, Under(L"Plain\\Child").c_str()));
    EXPECT_EQ(Run(1, false), S_OK) << "what is already gone is no failure";
}

TEST_F(RegistrationScriptTest, AMissingOrMalformedScriptChangesNothing) {
    EXPECT_EQ(Run(3, true), HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND));
    EXPECT_EQ(Run(2, true), HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kTestKey));
}

}  // namespace
