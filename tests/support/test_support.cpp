#include "test_support.h"

#include <vector>

#include "win/folder_listing.h"
#include "win/long_path.h"
#include "win/this_module.h"
#include "win/unique_handle.h"

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    // Wine reuses process IDs at once, and a folder a crashed test left behind must not stop
    // the next one, so a taken name is passed over.
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        path_ = std::wstring(base) + L"zt_test_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                std::to_wstring(::GetTickCount()) + L"_" + std::to_wstring(++counter);
        if (::CreateDirectoryW(path_.c_str(), nullptr)) return;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    ADD_FAILURE() << "cannot create the test folder";
}

namespace {

// Not SHFileOperation: Wine's, given a tree deeper than MAX_PATH, removes files of the current
// folder instead. A read-only file is made writable first; a linked folder is removed, not
// entered.
void RemoveTree(const std::wstring& path) {
    const std::wstring form = LongPathForm(path);
    const DWORD attributes = ::GetFileAttributesW(form.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        ::SetFileAttributesW(form.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(form.c_str());
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        std::vector<std::wstring> entries;
        ListFolderEntries(path, entries);
        for (const std::wstring& entry : entries) RemoveTree(entry);
    }
    ::RemoveDirectoryW(form.c_str());
}

}  // namespace

TempFolder::~TempFolder() {
    // A process the test started may hold a file a moment longer than the test itself.
    for (int attempt = 0; attempt < 20 && ::GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
         ++attempt) {
        if (attempt > 0) ::Sleep(50);
        RemoveTree(path_);
    }
}

namespace {

// Wine's name of a Windows path on the Linux side; empty outside Wine.
std::string UnixPath(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = toUnix ? toUnix(path.c_str()) : nullptr;
    if (!unix) return {};
    std::string result(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

// Starts a Linux command, which Wine runs for a Windows program. Wine's handle to it does not
// tell when it ends, so callers wait for its effect.
void RunUnixCommand(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

std::wstring QuotedUnix(const std::wstring& path) {
    const std::string unix = UnixPath(path);
    return Quoted(std::wstring(unix.begin(), unix.end()));
}

// Waits up to ten seconds for the condition.
template <class Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 200 && !condition(); ++i) ::Sleep(50);
    return condition();
}

}  // namespace

FolderLink::FolderLink(std::wstring link, const std::wstring& target) : link_(std::move(link)) {
    if (UnixPath(link_).empty()) return;
    RunUnixCommand(L"Z:\\bin\\ln -s " + QuotedUnix(target) + L" " + QuotedUnix(link_));
    Eventually([this] { return Made(); });
}

FolderLink::~FolderLink() {
    if (!Made()) return;
    RunUnixCommand(L"Z:\\bin\\rm " + QuotedUnix(link_));
    Eventually([this] { return ::GetFileAttributesW(link_.c_str()) == INVALID_FILE_ATTRIBUTES; });
}

bool FolderLink::Made() const {
    const DWORD attributes = ::GetFileAttributesW(link_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void WriteFileBytes(const std::wstring& path, const Bytes& bytes) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file) << "cannot create the test file";
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
}

Bytes ReadFileBytes(const std::wstring& path) {
    FileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        ADD_FAILURE() << "cannot open the test file";
        return {};
    }
    Bytes bytes(::GetFileSize(file.get(), nullptr));
    DWORD got = 0;
    if (!bytes.empty()) ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    bytes.resize(got);
    return bytes;
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Bytes PatternBytes(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(x >> 16);
    }
    return bytes;
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring FromBuildPath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* p = unixPath; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

std::wstring TestProgramFolder() {
    return ThisModuleFolder();
}

namespace {

void SetRegistryValue(HKEY root, const std::wstring& subKey, const wchar_t* name, DWORD type,
                      const void* data, DWORD bytes) {
    RegKey key;
    ASSERT_EQ(
        ::RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr),
        ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes),
              ERROR_SUCCESS);
}

}  // namespace

void SetRegistryString(HKEY root, const std::wstring& subKey, const wchar_t* name,
                       const std::wstring& value) {
    SetRegistryValue(root, subKey, name, REG_SZ, value.c_str(),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void SetRegistryDword(HKEY root, const std::wstring& subKey, const wchar_t* name, DWORD value) {
    SetRegistryValue(root, subKey, name, REG_DWORD, &value, sizeof value);
}
