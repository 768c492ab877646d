#include "text/extension_filter.h"

#include <windows.h>

#include <vector>

#include "text/registry_keys.h"
#include "trace/trace_scope.h"
#include "win/unique_handle.h"

namespace {

// The value's strings up to the first empty one. The buffer carries two extra zero units,
// so a value stored without its terminators still ends.
std::vector<std::wstring> SplitMultiString(const std::vector<wchar_t>& buffer) {
    std::vector<std::wstring> strings;
    for (const wchar_t* p = buffer.data(); *p; p += strings.back().size() + 1) strings.emplace_back(p);
    return strings;
}

bool ReadMultiString(HKEY key, const wchar_t* name, std::vector<wchar_t>& buffer) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return false;
    if (type != REG_MULTI_SZ) return false;
    buffer.assign(bytes / sizeof(wchar_t) + 2, L'\0');
    return ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) ==
           ERROR_SUCCESS;
}

}  // namespace

bool LoadExtensionFilter(CStringSet& set) {
    ZTTraceNS::CTraceScope scope("::LoadExtensionFilter");
    RegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        ZTTraceNS::Trace(scope, 0, "No application key");
        return false;
    }
    std::vector<wchar_t> buffer;
    if (!ReadMultiString(key.get(), kExtensionFilterValue, buffer)) {
        ZTTraceNS::Trace(scope, 0, "No extension filter");
        return false;
    }
    for (const std::wstring& extension : SplitMultiString(buffer)) set.Add(extension);
    return true;
}

void AddDefaultExtensions(CStringSet& set) {
    for (const wchar_t* extension :
         {L".exe", L".dll", L".sys", L".vxd", L".386", L".drv", L".pnf", L".lnk"}) {
        set.Add(extension);
    }
}
