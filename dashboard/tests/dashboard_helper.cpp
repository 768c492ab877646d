// dashboard_helper: what the dashboard tests need done in another process.
//   load PATH       loads the library (the dashboard plug-in runs its load-time work), exits 0
//   save FULLPATH   records the file as decrypted in the store, as ZTFileEn does, exits 0
//   wait SECONDS    runs that long: a program the page started
// Exit code 1 when the step failed, 2 on a bad command line.
#include <windows.h>

#include <cwchar>
#include <string>

#include "store/decrypted_items.h"
#include "win/com_apartment.h"
#include "win/unique_handle.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::wstring command = argv[1];
    if (command == L"load") return Library(::LoadLibraryW(argv[2])) ? 0 : 1;
    if (command == L"save") {
        const CComApartment com;
        CDecryptedItems items;
        return SUCCEEDED(items.UpdateDecryptedItems(true, argv[2], 0)) ? 0 : 1;
    }
    if (command == L"wait") {
        ::Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) * 1000);
        return 0;
    }
    return 2;
}
