#include "dashboard/notify_settings.h"

#include "setup/registry_writing.h"
#include "text/registry_keys.h"
#include "trace/registry_values.h"

DWORD ReadNotifySetting(const wchar_t* name, DWORD byDefault) {
    const RegKey key = ZTTraceNS::OpenReadKey(HKEY_CURRENT_USER, kTapwiseCryptoKey);
    return ZTTraceNS::ReadDword(key.get(), name).value_or(byDefault);
}

void WriteNotifySetting(const wchar_t* name, DWORD value) {
    const RegKey key = CreateWritableKey(HKEY_CURRENT_USER, kTapwiseCryptoKey);
    if (!key) return;
    ::RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}
