// secret_probe [KIND]: obtains the current user's secret as the program does for the
// operation kind (1 encrypt unless given) and prints "result 0x........" and "secret HEX".
// A test runs it in a process of its own, where the settings are read afresh.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "app/authentication/library_secret.h"

int wmain(int argc, wchar_t** argv) {
    CLibrarySecret user(argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 1);
    const HRESULT hr = user.Load(nullptr);
    std::printf("result 0x%08lX\nsecret ", static_cast<unsigned long>(hr));
    for (BYTE byte : user.Secret()) std::printf("%02x", byte);
    std::printf("\n");
    return 0;
}
