// The uninstaller's carrying out of the clean-up list, against the real registry of every
// loaded user hive and of the machine; the test's own keys are removed afterwards.
#include <gtest/gtest.h>

#include <string>

#include "registry_backup.h"
#include "setup/cleanup_run.h"
#include "test_support.h"

namespace {

// Below the product's own key, the only one whose lines the uninstaller carries out.
constexpr wchar_t kTestKey[] = L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto\\CleanupRunTest";
// The loaded user hives under Wine besides the current user's.
constexpr wchar_t kDefaultProfile[] =
    L".DEFAULT\\SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto\\CleanupRunTest";

std::wstring Key(const std::wstring& below) {
    return std::wstring(kTestKey) + L"\\" + below;
}

class CleanupRunTest : public ::testing::Test {
protected:
    // A list file with the byte-order mark and these lines.
    std::wstring List(const std::wstring& lines) const {
        const std::wstring path = folder_.Path(L"Cleanup.txt");
        const std::wstring text = L"\xFEFF" + lines;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        WriteFileBytes(path, Bytes(bytes, bytes + text.size() * sizeof(wchar_t)));
        return path;
    }

    TempFolder folder_;
    RegistryCleanup user_{HKEY_CURRENT_USER, kTestKey};
    RegistryCleanup profile_{HKEY_USERS, kDefaultProfile};
    RegistryCleanup machine_{HKEY_LOCAL_MACHINE, kTestKey};
};

TEST_F(CleanupRunTest, AUserLineRemovesTheValueFromEveryLoadedProfileAndTheKeyOnceEmpty) {
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_USERS}) {
        const std::wstring base = root == HKEY_USERS ? kDefaultProfile : kTestKey;
        SetRegistryString(root, base + L"\\Settings", L"ShowEncryptIcon", L"1");
        SetRegistryString(root, base + L"\\Settings", L"ShowDecryptIcon", L"1");
        SetRegistryString(root, base + L"\\Shared", L"ShowEncryptIcon", L"1");
        SetRegistryString(root, base + L"\\Shared", L"Other", L"kept");
    }
    const std::wstring list =
        List(L"HKU\t" + Key(L"Settings") + L"\t5\tShowEncryptIcon\r\n" + L"HKU\t" + Key(L"Settings") +
             L"\t5\tShowDecryptIcon\r\n" + L"HKU\t" + Key(L"Shared") + L"\t5\tShowEncryptIcon\r\n");

    EXPECT_EQ(CarryOutCleanupList(list), S_OK);

    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_USERS}) {
        const std::wstring base = root == HKEY_USERS ? kDefaultProfile : kTestKey;
        EXPECT_FALSE(RegistryKeyExists(root, (base + L"\\Settings").c_str()));
        EXPECT_EQ(ReadRegistryText(root, (base + L"\\Shared").c_str(), L"ShowEncryptIcon"), std::nullopt);
        EXPECT_EQ(ReadRegistryText(root, (base + L"\\Shared").c_str(), L"Other"), L"kept");
    }
}

// A value line without the key bit leaves the emptied key, and a space names the default value;
// a key goes whole with the sub-key bit, and only without sub-keys otherwise. Which lines are
// carried out at all is the list's parser's, tested with it; here what is already gone is no
// failure and changes nothing.
TEST_F(CleanupRunTest, EachKindOfMachineLineRemovesWhatItSaysAndWhatIsGoneAlreadyIsNoFailure) {
    SetRegistryString(HKEY_LOCAL_MACHINE, Key(L"Named"), L"Value", L"1");
    SetRegistryString(HKEY_LOCAL_MACHINE, Key(L"Default"), nullptr, L"1");
    SetRegistryString(HKEY_LOCAL_MACHINE, Key(L"Tree\\Sub\\Deeper"), L"Value", L"1");
    SetRegistryString(HKEY_LOCAL_MACHINE, Key(L"Branch\\Sub"), L"Value", L"1");
    SetRegistryString(HKEY_LOCAL_MACHINE, Key(L"Leaf"), L"Value", L"1");
    const std::wstring list = List(
        L"HK\t" + Key(L"Named") + L"\t4\tValue\r\n" + L"HK\t" + Key(L"Default") + L"\t0\t \r\n" + L"HK\t" +
        Key(L"Tree") + L"\t2\r\n" + L"HK\t" + Key(L"Branch") + L"\r\n" + L"HK\t" + Key(L"Leaf") + L"\r\n" +
        L"HK\t" + Key(L"Missing") + L"\t2\r\n" + L"HK\t" + Key(L"Missing") + L"\r\n" + L"HKU\t" +
        Key(L"Missing") + L"\t5\tValue\r\n" + L"HK\t" + Key(L"Missing") + L"\t4\tValue\r\n");

    EXPECT_EQ(CarryOutCleanupList(list), S_OK);

    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, Key(L"Named").c_str()));
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, Key(L"Named").c_str(), L"Value"), std::nullopt);
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, Key(L"Default").c_str(), nullptr), std::nullopt);
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, Key(L"Tree").c_str()));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, Key(L"Branch\\Sub").c_str()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, Key(L"Leaf").c_str()));
}

TEST_F(CleanupRunTest, WithoutAListThereIsNothingToDo) {
    EXPECT_EQ(CarryOutCleanupList(folder_.Path(L"Cleanup.txt")), S_FALSE);
}

}  // namespace
