#include "dashboard/server_registration.h"

#include <string>

#include "dashboard/resources/resource_ids.h"
#include "setup/registration_script.h"
#include "setup/registry_writing.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/this_module.h"
#include "win/wide_text.h"

namespace {

constexpr wchar_t kPlugInsKey[] = L"SOFTWARE\\Zentaro\\Applications\\DashBoard\\PlugIns";
constexpr wchar_t kPlugInValue[] = L"{C83F17A8-D5EE-4BE0-A22B-A8CA14C90745}:1";
constexpr wchar_t kHelpKey[] = L"SOFTWARE\\Zentaro\\Applications\\DashBoard\\Help";
constexpr wchar_t kHelpValue[] = L"{73914D63-F8A8-49A8-AE4E-A74775AD4970}";
constexpr wchar_t kHelpTopic[] = L"26:Introduction.htm";

HRESULT RunScript(bool registering, const std::wstring& modulePath) {
    const core::ScriptReplacement module[] = {{u"MODULE", AsU16(modulePath)}};
    return RunRegistrationScript(ThisModule(), IDR_REGISTRY, registering, module);
}

void SetMachineValue(const wchar_t* keyPath, const wchar_t* name, const std::wstring& text) {
    WriteStringValue(CreateKey(HKEY_LOCAL_MACHINE, keyPath).get(), name, text);
}

void DeleteMachineValue(const wchar_t* keyPath, const wchar_t* name) {
    RegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ | KEY_SET_VALUE, key.put()) ==
        ERROR_SUCCESS) {
        ::RegDeleteValueW(key.get(), name);
    }
}

}  // namespace

HRESULT RegisterDashboardServer() {
    ZTTraceNS::CTraceScope scope("DllRegisterServer");
    return Guarded(scope, [&] {
        const std::wstring path = ModuleFileName(ThisModule());
        // Registering an empty path would send the dashboard nowhere.
        if (path.empty() || path.size() >= MAX_PATH) ThrowWin32(ERROR_FILENAME_EXCED_RANGE);
        Check(RunScript(true, path));
        SetMachineValue(kPlugInsKey, kPlugInValue, path);
        SetMachineValue(kHelpKey, kHelpValue, kHelpTopic);
    });
}

HRESULT UnregisterDashboardServer() {
    ZTTraceNS::CTraceScope scope("DllUnregisterServer");
    return Guarded(scope, [&] {
        DeleteMachineValue(kPlugInsKey, kPlugInValue);
        DeleteMachineValue(kHelpKey, kHelpValue);
        Check(RunScript(false, ModuleFileName(ThisModule())));
    });
}
