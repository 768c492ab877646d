#include "app/registration/server_registration.h"

#include <vector>

#include "app/registration/extension_filter_writer.h"
#include "app/resources/resource_ids.h"
#include "setup/cleanup_list.h"
#include "setup/registry_writing.h"
#include "text/extension_filter.h"
#include "text/res_string.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/this_module.h"
#include "win/windows_version.h"

namespace {

constexpr wchar_t kFileTypeKey[] = L"Tapwise Crypto";
constexpr wchar_t kExtensionKey[] = L".zte";
constexpr wchar_t kShellExtensionsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Extensions";
constexpr wchar_t kSettingsBelowUsers[] = L"SOFTWARE\\Zentaro\\Applications\\TWAppSettings";
constexpr wchar_t kGeneralBelowUsers[] = L"SOFTWARE\\Zentaro\\Applications\\Settings";
constexpr wchar_t kApplicationBelowMachine[] = L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto";

// Empty when the system cannot tell; registering then fails rather than write a bad path.
std::wstring ProgramPath() {
    return ModuleFileName(ThisModule());
}

void SetKeyDefault(HKEY parent, const wchar_t* subKey, const std::wstring& text) {
    if (const RegKey key = CreateWritableKey(parent, subKey)) SetStringValue(key.get(), nullptr, text);
}

void WriteOpenVerb(HKEY fileType, const std::wstring& program) {
    const RegKey open = CreateWritableKey(fileType, L"shell\\open");
    if (!open) return;
    SetStringValue(open.get(), nullptr, LoadResString(IDS_OPEN_VERB));
    // From Vista on the shell shows the verb in the user's language from this reference.
    if (IsWindowsVistaOrLater()) {
        SetStringValue(open.get(), L"MuiVerb", L"@" + program + L",-" + std::to_wstring(IDS_OPEN_VERB));
    }
}

void WriteShellExtension(const std::wstring& program) {
    RegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kShellExtensionsKey, 0, KEY_SET_VALUE, key.put()) ==
        ERROR_SUCCESS) {
        SetStringValue(key.get(), kExtensionKey, program + L" ^" + kExtensionKey);
    }
}

// A filter that exists, even an empty one, is the administrator's choice and stays.
void EnsureExtensionFilter() {
    CStringSet filter;
    if (LoadExtensionFilter(filter)) return;
    if (!LoadExtensionFilter(filter)) AddDefaultExtensions(filter);
    WriteExtensionFilter(filter);
}

}  // namespace

HRESULT RegisterProgram(const std::wstring& programPath) {
    ZTTraceNS::CTraceScope scope("RegisterServer");
    return Guarded(scope, [&] {
        if (programPath.empty()) ThrowHr(E_INVALIDARG);
        LSTATUS status = ERROR_SUCCESS;
        const RegKey fileType = CreateWritableKey(HKEY_CLASSES_ROOT, kFileTypeKey, &status);
        if (!fileType) ThrowWin32(static_cast<DWORD>(status));
        SetStringValue(fileType.get(), nullptr, L"Encrypted file");
        SetKeyDefault(fileType.get(), L"DefaultIcon", programPath + L",0");
        WriteOpenVerb(fileType.get(), programPath);
        // The shell extension reads the program back as the text before ` "%1"`, so the
        // path stays unquoted even when it holds spaces.
        SetKeyDefault(fileType.get(), L"shell\\open\\command", programPath + L" \"%1\"");
        SetKeyDefault(HKEY_CLASSES_ROOT, kExtensionKey, kFileTypeKey);
        WriteShellExtension(programPath);
        EnsureExtensionFilter();
    });
}

HRESULT RegisterServer() {
    return RegisterProgram(ProgramPath());
}

HRESULT UnregisterServer() {
    ZTTraceNS::CTraceScope scope("UnregisterServer");
    return Guarded(scope, [&] {
        DeleteKeyTree(HKEY_CLASSES_ROOT, kFileTypeKey);
        DeleteKeyTree(HKEY_CLASSES_ROOT, kExtensionKey);
        RegKey extensions;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kShellExtensionsKey, 0, KEY_SET_VALUE, extensions.put()) ==
            ERROR_SUCCESS) {
            ::RegDeleteValueW(extensions.get(), kExtensionKey);
        }
        AddCleanupLine(L"HKU", kSettingsBelowUsers, 5, L"ShowDecryptIcon");
        AddCleanupLine(L"HKU", kSettingsBelowUsers, 5, L"ShowEncryptIcon");
        AddCleanupLine(L"HKU", kGeneralBelowUsers, 5, L"General");
        AddCleanupLine(L"HK", kApplicationBelowMachine, 2, nullptr);
    });
}
