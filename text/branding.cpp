#include "text/branding.h"

#include <optional>

#include "core/registration/registry_keys.h"
#include "text/resource_module.h"
#include "text/text_ids.h"
#include "trace/trace_scope.h"
#include "win/registry.h"
#include "win/this_module.h"

namespace {

// Raw string loading without product-name substitution (the name cannot name itself).
std::wstring ModuleString(HMODULE module, UINT id) {
    wchar_t buffer[MAX_PATH] = {};
    const int length = ::LoadStringW(module, id, buffer, MAX_PATH);
    return std::wstring(buffer, length > 0 ? length : 0);
}

// An OEM build names its own branding key in string 900 of the program itself.
std::wstring BrandingKeyName() {
    const std::wstring own = ModuleString(ThisModule(), IDS_BRANDING_KEY);
    return own.empty() ? kBrandingKey : own;
}

RegKey OpenBrandingKey(const trace::CTraceScope& scope) {
    const std::wstring name = BrandingKeyName();
    RegKey key = TryOpenKey(HKEY_LOCAL_MACHINE, name.c_str(), KEY_QUERY_VALUE);
    if (!key) key = TryOpenKey(HKEY_LOCAL_MACHINE, kBrandingKey, KEY_QUERY_VALUE);
    if (!key) trace::Trace(scope, 0, "Open Branding key %ls in registry Failed", name.c_str());
    return key;
}

}  // namespace

CBranding& CBranding::Process() {
    static CBranding branding;
    return branding;
}

HMODULE CBranding::LoadResourceDLL() {
    if (library_) return library_.get();
    trace::CTraceScope scope("CBranding::LoadResourceDLL");
    const RegKey key = OpenBrandingKey(scope);
    if (!key) return nullptr;
    const std::optional<std::wstring> path = TryReadExpandedString(key.get(), L"DLLPath");
    if (!path) {
        trace::Trace(scope, 0, "Failed to find DllPath under Branding key in registry");
        return nullptr;
    }
    library_.reset(::LoadLibraryExW(path->c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!library_) {
        trace::Trace(scope, 0, "failed to load resource dll , GetLastError returned 0x%08x",
                     ::GetLastError());
    }
    return library_.get();
}

std::wstring CBranding::ProductName() {
    const HMODULE library = LoadResourceDLL();
    return ModuleString(library ? library : ResourceModule(), IDS_PRODUCT_NAME);
}
