#include "text/online_help.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "text/product_folders.h"

void OpenOnlineHelp(int topicNumber, const std::wstring& productIdentifier) {
    const std::wstring program = GetBinFolder() + L"ZtOnlineHelp.exe";
    const DWORD attributes = ::GetFileAttributesW(program.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    std::wstring parameters = std::to_wstring(topicNumber);
    if (!productIdentifier.empty()) parameters += L";" + productIdentifier;
    ::ShellExecuteW(nullptr, L"open", program.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}
