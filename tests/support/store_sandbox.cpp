#include "store_sandbox.h"

#include <shlobj.h>

#include <algorithm>

#include "store/store_format.h"
#include "win/unique_handle.h"

namespace {

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring AppDataFolder() {
    wchar_t path[MAX_PATH] = {};
    EXPECT_EQ(
        ::SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path),
        S_OK);
    return path;
}

}  // namespace

StoreSandbox::StoreSandbox()
    : maker_(AppDataFolder() + L"\\Zentaro"),
      folder_(maker_ + L"\\FileProtection"),
      file_(folder_ + L"\\unprotected.xml"),
      makerExisted_(FolderExists(maker_)),
      folderExisted_(FolderExists(folder_)),
      filesBefore_(FilesInStoreFolder()) {
    // S_FALSE: an enclosing sandbox of the same thread holds the apartment already.
    EXPECT_TRUE(com_.Ok());
    if (FileExists(file_)) storeBefore_ = ReadFileBytes(file_);
}

StoreSandbox::~StoreSandbox() {
    for (const std::wstring& name : FilesInStoreFolder()) {
        if (std::find(filesBefore_.begin(), filesBefore_.end(), name) == filesBefore_.end()) {
            ::DeleteFileW((folder_ + L"\\" + name).c_str());
        }
    }
    if (storeBefore_) WriteFileBytes(file_, *storeBefore_);
    if (!folderExisted_) ::RemoveDirectoryW(folder_.c_str());
    if (!makerExisted_) ::RemoveDirectoryW(maker_.c_str());
}

std::vector<std::wstring> StoreSandbox::FilesInStoreFolder() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    FindHandle find(::FindFirstFileW((folder_ + L"\\*").c_str(), &found));
    for (bool more = static_cast<bool>(find); more; more = ::FindNextFileW(find.get(), &found)) {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(found.cFileName);
    }
    return names;
}

void StoreSandbox::WriteStore(std::string_view body) const {
    ::CreateDirectoryW(maker_.c_str(), nullptr);
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    const std::string bytes = std::string(kStoreDeclaration) + std::string(body);
    WriteFileBytes(file_, Bytes(bytes.begin(), bytes.end()));
}

std::string StoreSandbox::ReadStore() const {
    const Bytes bytes = ReadFileBytes(file_);
    return std::string(bytes.begin(), bytes.end());
}

ThreadLocale::ThreadLocale(LANGID language) : before_(::GetThreadLocale()) {
    EXPECT_TRUE(::SetThreadLocale(MAKELCID(language, SORT_DEFAULT)));
}

ThreadLocale::~ThreadLocale() {
    ::SetThreadLocale(before_);
}
