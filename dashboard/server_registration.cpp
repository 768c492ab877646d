#include "dashboard/server_registration.h"

#include <string>

#include "core/registration/registry_keys.h"
#include "dashboard/resources/resource_ids.h"
#include "setup/registration_script.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/registry.h"
#include "win/this_module.h"
#include "win/wide_text.h"

namespace {

constexpr wchar_t kPlugInValue[] = L"{C83F17A8-D5EE-4BE0-A22B-A8CA14C90745}:1";
constexpr wchar_t kHelpValue[] = L"{73914D63-F8A8-49A8-AE4E-A74775AD4970}";
constexpr wchar_t kHelpTopic[] = L"26:Introduction.htm";

HRESULT RunScript(bool registering, const std::wstring& modulePath) {
    const core::ScriptReplacement module[] = {{u"MODULE", AsU16(modulePath)}};
    return RunRegistrationScript(ThisModule(), IDR_REGISTRY, registering, module);
}

void SetMachineValue(const wchar_t* keyPath, const wchar_t* name, const std::wstring& text) {
    SetString(CreateKey(HKEY_LOCAL_MACHINE, keyPath).get(), name, text);
}

// Unregistering goes on to the script whatever stays of the value.
void DeleteMachineValue(const wchar_t* keyPath, const wchar_t* name) {
    FailureOf(
        [&] { DeleteValue(OpenKey(HKEY_LOCAL_MACHINE, keyPath, KEY_READ | KEY_SET_VALUE).get(), name); });
}

}  // namespace

HRESULT RegisterDashboardServer() {
    trace::CTraceScope scope("DllRegisterServer");
    return Guarded(scope, [&] {
        const std::wstring path = ModuleFileName(ThisModule());
        // Registering an empty path would send the dashboard nowhere.
        if (path.empty() || path.size() >= MAX_PATH) ThrowWin32(ERROR_FILENAME_EXCED_RANGE);
        Check(RunScript(true, path));
        SetMachineValue(kDashboardPlugInsKey, kPlugInValue, path);
        SetMachineValue(kDashboardHelpKey, kHelpValue, kHelpTopic);
    });
}

HRESULT UnregisterDashboardServer() {
    trace::CTraceScope scope("DllUnregisterServer");
    return Guarded(scope, [&] {
        DeleteMachineValue(kDashboardPlugInsKey, kPlugInValue);
        DeleteMachineValue(kDashboardHelpKey, kHelpValue);
        Check(RunScript(false, ModuleFileName(ThisModule())));
    });
}
