#include "app/registration/extension_filter_writer.h"

#include <windows.h>

#include <string>
#include <vector>

#include "core/registration/registry_keys.h"
#include "win/registry.h"

void WriteExtensionFilter(const CStringSet& set) {
    const RegKey key = CreateKey(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey);
    SetMultiString(key.get(), kExtensionFilterValue, std::vector<std::wstring>(set.begin(), set.end()));
}
