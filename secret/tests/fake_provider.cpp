// Stands in for a cryptographic provider DLL: registering it counts the registrations in
// the registry, where the test reads them.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\ZTTest\\FakeProvider", 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    DWORD count = 0;
    DWORD size = sizeof count;
    ::RegQueryValueExW(key, L"Registered", nullptr, nullptr, reinterpret_cast<BYTE*>(&count), &size);
    ++count;
    ::RegSetValueExW(key, L"Registered", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
    ::RegCloseKey(key);
    return S_OK;
}
