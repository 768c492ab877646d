#include "dashboard/notify_settings.h"

#include "core/registration/registry_keys.h"
#include "win/hresult.h"
#include "win/registry.h"

DWORD ReadNotifySetting(const wchar_t* name, DWORD byDefault) {
    const RegKey key = TryOpenKey(HKEY_CURRENT_USER, kTapwiseCryptoKey);
    return TryReadDword(key.get(), name).value_or(byDefault);
}

void WriteNotifySetting(const wchar_t* name, DWORD value) {
    FailureOf([&] { SetDword(CreateKey(HKEY_CURRENT_USER, kTapwiseCryptoKey).get(), name, value); });
}
