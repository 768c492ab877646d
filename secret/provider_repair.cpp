#include "secret/provider_repair.h"

#include <wincrypt.h>

#include <string>

#include "win/unique_handle.h"

namespace {

constexpr wchar_t kProvidersKey[] = L"Software\\Microsoft\\Cryptography\\Defaults\\Provider";
constexpr REGSAM kProviderAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
constexpr DWORD kMaxName = 261;

bool IsFullRsaProvider(HKEY provider) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    return ::RegQueryValueExW(provider, L"Type", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD && value == PROV_RSA_FULL;
}

// The provider DLL's image path as stored, not expanded; empty when it cannot be read.
std::wstring ImagePath(HKEY provider) {
    wchar_t path[kMaxName + 1] = {};
    DWORD type = 0;
    DWORD size = kMaxName * sizeof(wchar_t);
    if (::RegQueryValueExW(provider, L"Image Path", nullptr, &type, reinterpret_cast<BYTE*>(path), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return path;
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
    RegKey providers;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProvidersKey, 0, kProviderAccess, providers.put()) !=
        ERROR_SUCCESS)
        return;
    wchar_t name[kMaxName];
    for (DWORD index = 0;; ++index) {
        DWORD length = kMaxName;
        if (::RegEnumKeyExW(providers.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        RegKey provider;
        if (::RegOpenKeyExW(providers.get(), name, 0, kProviderAccess, provider.put()) != ERROR_SUCCESS)
            continue;
        if (!IsFullRsaProvider(provider.get())) continue;
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
