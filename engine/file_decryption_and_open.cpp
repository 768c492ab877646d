#include "engine/file_decryption_and_open.h"

#include <shellapi.h>

int CFileDecryptAndOpen::CheckInputFile() {
    const int result = CFileDecryption::CheckInputFile();
    // A file that opened but whose header could not be read may be something the shell
    // knows how to open; one that is not an encrypted file is left alone.
    if (result < 0) OpenWithShell(inputPath_);
    return result;
}

HRESULT CFileDecryptAndOpen::DoEncryptDecrypt(bool recordItem) {
    const HRESULT hr = CFileDecryption::DoEncryptDecrypt(recordItem);
    if (SUCCEEDED(hr)) OpenWithShell(outputPath_);
    return hr;
}

void CFileDecryptAndOpen::OpenWithShell(const std::wstring& path) {
    ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOW);
}
