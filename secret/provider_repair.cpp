#include "secret/provider_repair.h"

#include <wincrypt.h>

#include <string>

#include "core/registration/registry_keys.h"
#include "win/registry.h"
#include "win/unique_handle.h"

namespace {

constexpr REGSAM kProviderAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
constexpr DWORD kMaxName = 261;

bool IsFullRsaProvider(HKEY provider) {
    return TryReadDword(provider, L"Type") == DWORD{PROV_RSA_FULL};
}

// The provider DLL's image path as stored, not expanded; empty when it cannot be read.
std::wstring ImagePath(HKEY provider) {
    return TryReadString(provider, L"Image Path", kMaxName).value_or(L"");
}

void RegisterProviderDll(const std::wstring& path) {
    Library dll(::LoadLibraryW(path.c_str()));
    if (!dll) return;
    using RegisterFn = HRESULT(STDAPICALLTYPE*)();
    auto registerServer = reinterpret_cast<RegisterFn>(
        reinterpret_cast<void*>(::GetProcAddress(dll.get(), "DllRegisterServer")));
    if (registerServer) registerServer();
}

}  // namespace

void ReregisterFullRsaProviders() {
    const RegKey providers = TryOpenKey(HKEY_LOCAL_MACHINE, kCryptoProvidersKey, kProviderAccess);
    for (const std::wstring& name : SubKeyNames(providers.get())) {
        const RegKey provider = TryOpenKey(providers.get(), name.c_str(), kProviderAccess);
        if (!provider || !IsFullRsaProvider(provider.get())) continue;
        const std::wstring path = ImagePath(provider.get());
        if (!path.empty()) RegisterProviderDll(path);
    }
}

void RepairProviders() {
    for (const wchar_t* name : {MS_DEF_PROV_W, MS_ENHANCED_PROV_W}) {
        CryptProvider provider;
        if (!::CryptAcquireContextW(provider.put(), nullptr, name, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT) &&
            static_cast<HRESULT>(::GetLastError()) == NTE_BAD_SIGNATURE) {
            ReregisterFullRsaProviders();
        }
    }
}
