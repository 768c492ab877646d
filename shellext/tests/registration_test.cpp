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

// The class key's access list as "SID rights flags" per entry, and whether it is protected.
struct AccessList {
    bool isProtected = false;
    std::vector<std::wstring> entries;
};

AccessList ReadAccessList() {
    AccessList list;
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    EXPECT_EQ(
        ::GetNamedSecurityInfoW((std::wstring(L"MACHINE\\") + kClassKey).c_str(), SE_REGISTRY_KEY,
                                DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr, &descriptor),
        ERROR_SUCCESS);
    const LocalMemory owner(descriptor);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ::GetSecurityDescriptorControl(descriptor, &control, &revision);
    list.isProtected = (control & SE_DACL_PROTECTED) != 0;
    for (DWORD index = 0; acl && index < acl->AceCount; ++index) {
        ACCESS_ALLOWED_ACE* entry = nullptr;
        if (!::GetAce(acl, index, reinterpret_cast<void**>(&entry))) continue;
        wchar_t* sid = nullptr;
        ::ConvertSidToStringSidW(&entry->SidStart, &sid);
        const LocalMemory sidOwner(sid);
        wchar_t text[64];
        swprintf(text, 64, L" %lX %X %X", static_cast<unsigned long>(entry->Mask), entry->Header.AceType,
                 entry->Header.AceFlags);
        list.entries.push_back(std::wstring(sid ? sid : L"?") + text);
    }
    return list;
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
    const AccessList list = ReadAccessList();
    if (!IsAdministrator()) {
        EXPECT_FALSE(list.isProtected);
        return;
    }
    EXPECT_TRUE(list.isProtected);
    // Allowed (type 0) and passed on to sub-keys and values (object and container inherit).
    EXPECT_EQ(list.entries, (std::vector<std::wstring>{L"S-1-5-18 F003F 0 3", L"S-1-5-32-544 F003F 0 3",
                                                       L"S-1-5-32-545 20019 0 3"}));
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
