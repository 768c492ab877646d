// What regsvr32 leaves in the registry when it registers and unregisters the plug-in.
#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>

#include "shellext_fixture.h"
#include "win/unique_handle.h"

namespace {

constexpr wchar_t kCleanupLine[] =
    L"HKU\tSOFTWARE\\Zentaro\\Applications\\TWAppSettings\t5\tShowEncryptIcon\r\n";

bool IsAdministrator() {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    BOOL member = FALSE;
    if (::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                   0, 0, &administrators)) {
        ::CheckTokenMembership(nullptr, administrators, &member);
        ::FreeSid(administrators);
    }
    return member;
}

// The class key's access list, as SDDL: whether it is protected, then each entry.
std::wstring ReadAccessList() {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    EXPECT_EQ(
        ::GetNamedSecurityInfoW((std::wstring(L"MACHINE\\") + kClassKey).c_str(), SE_REGISTRY_KEY,
                                DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr, &descriptor),
        ERROR_SUCCESS);
    const LocalMemory owner(descriptor);
    wchar_t* text = nullptr;
    ::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                           DACL_SECURITY_INFORMATION, &text, nullptr);
    const LocalMemory textOwner(text);
    return text ? text : L"?";
}

std::wstring ReadCleanupList(const std::wstring& path) {
    const Bytes bytes = ReadFileBytes(path);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

using RegistrationTest = ShellExtTest;

TEST_F(RegistrationTest, RegisteringWritesTheClassAndBothHandlerKeysNamingIt) {
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kClassKey, nullptr), L"CZTShellExtension");
    const std::wstring server = std::wstring(kClassKey) + L"\\InProcServer32";
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, server.c_str(), nullptr), Installed(kPlugInName));
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, server.c_str(), L"ThreadingModel"), L"Both");
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, kFileHandlerKey, nullptr), kClassId);
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, kFolderHandlerKey, nullptr), kClassId);
    // Registering again over the existing entries succeeds and leaves the same.
    EXPECT_EQ(RunRegsvr32(Quoted(Installed(kPlugInName))), 0u);
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, kFileHandlerKey, nullptr), kClassId);
}

TEST_F(RegistrationTest, AnAdministratorsClassKeyHasAProtectedListOfItsOwn) {
    const std::wstring list = ReadAccessList();
    if (!IsAdministrator()) {
        EXPECT_FALSE(list.starts_with(L"D:P")) << list;
        return;
    }
    // Allowed, and passed on to sub-keys and values: all rights for the system and the
    // administrators, reading for the users.
    EXPECT_EQ(list, L"D:P(A;OICI;KA;;;SY)(A;OICI;KA;;;BA)(A;OICI;KR;;;BU)");
}

// How a line is appended to a list already there is the list writer's, tested with it.
TEST_F(RegistrationTest, UnregisteringRemovesEverythingAndAddsOneCleanupLine) {
    EXPECT_EQ(RunRegsvr32(L"/u " + Quoted(Installed(kPlugInName))), 0u);
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kClassKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kFileHandlerKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kFolderHandlerKey));
    EXPECT_EQ(ReadCleanupList(root_.Path(L"Cleanup.txt")), std::wstring(L"\xFEFF") + kCleanupLine);
    // Nothing left to remove is no failure: unregistering again succeeds.
    EXPECT_EQ(RunRegsvr32(L"/u " + Quoted(Installed(kPlugInName))), 0u);
}

}  // namespace
