#include "text/extension_filter.h"

#include <windows.h>

#include <vector>

#include "core/registration/registry_keys.h"
#include "trace/trace_scope.h"
#include "win/registry.h"

bool LoadExtensionFilter(CStringSet& set) {
    trace::CTraceScope scope("::LoadExtensionFilter");
    const RegKey key = TryOpenKey(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey);
    if (!key) {
        trace::Trace(scope, 0, "No application key");
        return false;
    }
    const std::optional<std::vector<std::wstring>> extensions =
        TryReadMultiString(key.get(), kExtensionFilterValue);
    if (!extensions) {
        trace::Trace(scope, 0, "No extension filter");
        return false;
    }
    for (const std::wstring& extension : *extensions) set.Add(extension);
    return true;
}

void AddDefaultExtensions(CStringSet& set) {
    for (const wchar_t* extension :
         {L".exe", L".dll", L".sys", L".vxd", L".386", L".drv", L".pnf", L".lnk"}) {
        set.Add(extension);
    }
}
