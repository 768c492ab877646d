// ZTFileProtect.dll: the dashboard plug-in's entry points. The dashboard finds the plug-in
// through the path registration leaves under its PlugIns key and asks it for its page; its
// reminder side creates the status object through COM.
#include <windows.h>

#include <objbase.h>
#include <olectl.h>

#include <optional>

#include "dashboard/file_protect_status.h"
#include "dashboard/page_entry.h"
#include "dashboard/server_registration.h"
#include "dashboard/trace/tracer.h"
#include "text/resource_module.h"
#include "win/com_server.h"

namespace {

// Made while the module loads: cleans up after tracing that has been switched off.
const tracecore::realtracer_t g_tracer;

constexpr ComClass kClasses[] = {
    {&CLSID_ZTFileProtectStatus, &CComObject<CZTFileProtectStatus>::CreateInstance},
};

std::optional<CLanguageSatellite>& Satellite() {
    static std::optional<CLanguageSatellite> satellite;
    return satellite;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
        // Before Vista the dialogs and texts come from the language satellite.
        Satellite().emplace();
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // At process exit the satellite goes with the process.
        Satellite().reset();
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE ZTGetPropertyPageEx(DashboardPageInfo** outInfo, UINT index) {
    return GetDashboardPage(outInfo, index);
}

STDAPI DllCanUnloadNow() {
    return CanUnloadModule();
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    return GetClassObject(kClasses, clsid, iid, object);
}

STDAPI DllRegisterServer() {
    return RegisterDashboardServer();
}

STDAPI DllUnregisterServer() {
    return UnregisterDashboardServer();
}
