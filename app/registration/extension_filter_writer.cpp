#include "app/registration/extension_filter_writer.h"

#include <windows.h>

#include <string>

#include "setup/registry_writing.h"
#include "text/registry_keys.h"

bool WriteExtensionFilter(const CStringSet& set) {
    const RegKey key = CreateWritableKey(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey);
    if (!key) return false;
    // Every string with its terminator, then one more zero ends the list.
    std::wstring multiString;
    for (const std::wstring& extension : set) multiString.append(extension).push_back(L'\0');
    multiString.push_back(L'\0');
    return ::RegSetValueExW(key.get(), kExtensionFilterValue, 0, REG_MULTI_SZ,
                            reinterpret_cast<const BYTE*>(multiString.data()),
                            static_cast<DWORD>(multiString.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}
