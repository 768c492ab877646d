// ZTShell: the Explorer context-menu plug-in, an in-process COM server with one class.
#include <windows.h>

#include <optional>

#include "core/registration/registry_keys.h"
#include "setup/cleanup_list.h"
#include "shellext/registration.h"
#include "shellext/shell_extension.h"
#include "text/resource_module.h"
#include "win/com_server.h"

namespace {

constexpr ComClass kClasses[] = {
    {&CLSID_ZTShellExtension, &CComObject<CZTShellExtension>::CreateInstance},
};

// Before Vista the texts come from the language satellite, which the system picks itself later.
std::optional<CLanguageSatellite> g_satellite;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_satellite.emplace();
        ::DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        g_satellite.reset();
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() {
    return CanUnloadModule();
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    return GetClassObject(kClasses, clsid, iid, object);
}

STDAPI DllRegisterServer() {
    if (const HRESULT hr = UpdateShellExtensionRegistry(true); FAILED(hr)) return hr;
    const HRESULT hr = RegisterContextMenuHandler(L"*");
    if (SUCCEEDED(hr)) RegisterContextMenuHandler(L"Directory");
    return hr;
}

STDAPI DllUnregisterServer() {
    if (const HRESULT hr = UpdateShellExtensionRegistry(false); FAILED(hr)) return hr;
    const HRESULT hr = UnregisterContextMenuHandler(L"*");
    if (SUCCEEDED(hr)) UnregisterContextMenuHandler(L"Directory");
    // The per-user choice to show the commands outlives the plug-in; only the uninstaller
    // removes it, from this list.
    AddCleanupLine(L"HKU", kAppSettingsKey, 5, L"ShowEncryptIcon");
    return hr;
}
