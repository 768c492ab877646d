#include "app/registration/server_registration.h"

#include <vector>

#include "app/registration/extension_filter_writer.h"
#include "app/resources/resource_ids.h"
#include "core/registration/registry_keys.h"
#include "setup/cleanup_list.h"
#include "text/extension_filter.h"
#include "text/res_string.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/registry.h"
#include "win/this_module.h"
#include "win/windows_version.h"

namespace {

// Empty when the system cannot tell; registering then fails rather than write a bad path.
std::wstring ProgramPath() {
    return ModuleFileName(ThisModule());
}

void SetKeyDefault(HKEY parent, const wchar_t* subKey, const std::wstring& text) {
    SetString(CreateKey(parent, subKey).get(), nullptr, text);
}

void WriteOpenVerb(HKEY fileType, const std::wstring& program) {
    const RegKey open = CreateKey(fileType, L"shell\\open");
    SetString(open.get(), nullptr, LoadResString(IDS_OPEN_VERB));
    // From Vista on the shell shows the verb in the user's language from this reference.
    if (IsWindowsVistaOrLater()) {
        SetString(open.get(), L"MuiVerb", L"@" + program + L",-" + std::to_wstring(IDS_OPEN_VERB));
    }
}

// A system without the shell's extension list is left without the entry; any other failure
// to open the list fails the registration.
void WriteShellExtension(const std::wstring& program) {
    if (const RegKey key = OpenKeyIfPresent(HKEY_LOCAL_MACHINE, kShellExtensionsKey, KEY_SET_VALUE))
        SetString(key.get(), kZteExtensionKey, program + L" ^" + kZteExtensionKey);
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
    trace::CTraceScope scope("RegisterServer");
    return Guarded(scope, [&] {
        if (programPath.empty()) ThrowHr(E_INVALIDARG);
        const RegKey fileType = CreateKey(HKEY_CLASSES_ROOT, kFileTypeKey);
        SetString(fileType.get(), nullptr, L"Encrypted file");
        SetKeyDefault(fileType.get(), L"DefaultIcon", programPath + L",0");
        WriteOpenVerb(fileType.get(), programPath);
        // The shell extension reads the program back as the text before ` "%1"`, so the
        // path stays unquoted even when it holds spaces.
        SetKeyDefault(fileType.get(), L"shell\\open\\command", programPath + L" \"%1\"");
        SetKeyDefault(HKEY_CLASSES_ROOT, kZteExtensionKey, kFileTypeKey);
        WriteShellExtension(programPath);
        EnsureExtensionFilter();
    });
}

HRESULT RegisterServer() {
    return RegisterProgram(ProgramPath());
}

HRESULT UnregisterServer() {
    trace::CTraceScope scope("UnregisterServer");
    return Guarded(scope, [&] {
        // Each removal is tried whatever the one before it gave, and unregistering succeeds
        // whatever stays.
        FailureOf([] { DeleteTree(HKEY_CLASSES_ROOT, kFileTypeKey); });
        FailureOf([] { DeleteTree(HKEY_CLASSES_ROOT, kZteExtensionKey); });
        FailureOf([] {
            DeleteValue(OpenKey(HKEY_LOCAL_MACHINE, kShellExtensionsKey, KEY_SET_VALUE).get(),
                        kZteExtensionKey);
        });
        AddCleanupLine(L"HKU", kAppSettingsKey, 5, L"ShowDecryptIcon");
        AddCleanupLine(L"HKU", kAppSettingsKey, 5, L"ShowEncryptIcon");
        AddCleanupLine(L"HKU", kGeneralSettingsKey, 5, L"General");
        AddCleanupLine(L"HKU", kTapwiseCryptoKey, 5, kFileFormatValue);
        AddCleanupLine(L"HK", kTapwiseCryptoKey, 2, nullptr);
    });
}
