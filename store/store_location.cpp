#include "store/store_location.h"

#include <shlobj.h>
#include <windows.h>

#include "win/hresult.h"
#include "win/long_path.h"

std::wstring StoreFilePath() {
    wchar_t appData[MAX_PATH] = {};
    Check(
        ::SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData));
    std::wstring folder = appData;
    for (const wchar_t* part : {L"\\Zentaro", L"\\FileProtection"}) {
        folder += part;
        // Usually the folder is there already; any other failure shows when the file is written.
        ::CreateDirectoryW(LongPathForm(folder).c_str(), nullptr);
    }
    return folder + L"\\unprotected.xml";
}
