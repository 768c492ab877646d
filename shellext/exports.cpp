// ZTShell: the Explorer context-menu plug-in, an in-process COM server with one class.
#include <windows.h>

#include <iterator>
#include <optional>

#include "setup/cleanup_list.h"
#include "shellext/class_factory.h"
#include "shellext/com_module.h"
#include "shellext/registration.h"
#include "shellext/shell_extension.h"
#include "text/resource_module.h"

namespace {

constexpr wchar_t kSettingsBelowUsers[] = L"SOFTWARE\\Zentaro\\Applications\\TWAppSettings";

CClassFactory g_shellExtensionFactory(&CZTShellExtension::CreateInstance);

HRESULT GetShellExtensionFactory(REFIID iid, void** object) {
    return g_shellExtensionFactory.QueryInterface(iid, object);
}

const CZTComModule::ClassEntry kClassMap[] = {
    {&CLSID_ZTShellExtension, &GetShellExtensionFactory, &UpdateShellExtensionRegistry},
};

// Before Vista the texts come from the language satellite, which the system picks itself later.
std::optional<CLanguageSatellite> g_satellite;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        if (FAILED(g_module.Init(kClassMap, std::size(kClassMap), instance))) return FALSE;
        g_satellite.emplace();
        ::DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        g_module.Term();
        g_satellite.reset();
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() {
    return g_module.GetLockCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    return g_module.GetClassObject(clsid, iid, object);
}

STDAPI DllRegisterServer() {
    if (const HRESULT hr = g_module.RegisterServer(); FAILED(hr)) return hr;
    const HRESULT hr = RegisterContextMenuHandler(L"*");
    if (SUCCEEDED(hr)) RegisterContextMenuHandler(L"Directory");
    return hr;
}

STDAPI DllUnregisterServer() {
    if (const HRESULT hr = g_module.UnRegisterServer(); FAILED(hr)) return hr;
    const HRESULT hr = UnregisterContextMenuHandler(L"*");
    if (SUCCEEDED(hr)) UnregisterContextMenuHandler(L"Directory");
    // The per-user choice to show the commands outlives the plug-in; only the uninstaller
    // removes it, from this list.
    AddCleanupLine(L"HKU", kSettingsBelowUsers, 5, L"ShowEncryptIcon");
    return hr;
}
