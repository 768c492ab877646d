#include "dashboard/trace/trace_cleanup.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/registration/wininit_rename.h"
#include "win/hresult.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/sized_text.h"
#include "win/unique_handle.h"
#include "win/windows_version.h"

namespace tracecore {
namespace {

// Shared with every program of the suite that cleans up trace files.
constexpr wchar_t kCleanupMutex[] = L"{32FA2EA5-DF93-459d-8F49-C1DC80404214}";

// Only whoever takes the mutex cleans up; it is released when the owner goes.
class CCleanupMutex {
public:
    CCleanupMutex() : mutex_(::CreateMutexW(nullptr, FALSE, kCleanupMutex)) {
        if (!mutex_) return;
        const DWORD wait = ::WaitForSingleObject(mutex_.get(), 0);
        owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    ~CCleanupMutex() {
        if (owned_) ::ReleaseMutex(mutex_.get());
    }
    CCleanupMutex(const CCleanupMutex&) = delete;
    CCleanupMutex& operator=(const CCleanupMutex&) = delete;
    bool Owned() const { return owned_; }

private:
    KernelHandle mutex_;
    bool owned_ = false;
};

std::vector<std::wstring> FilesLike(const PathParts& trace) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found{};
    const FindHandle search(
        ::FindFirstFileW(LongPathForm(trace.folder + L"*" + trace.extension).c_str(), &found));
    for (bool more = static_cast<bool>(search); more; more = ::FindNextFileW(search.get(), &found)) {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            files.push_back(trace.folder + found.cFileName);
    }
    return files;
}

std::string ShortAnsiPath(const std::wstring& path) {
    const std::wstring shortPath =
        SizedText([&](wchar_t* text, DWORD units) { return ::GetShortPathNameW(path.c_str(), text, units); });
    if (shortPath.empty()) ThrowLastError();
    const int units = static_cast<int>(shortPath.size());
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, shortPath.data(), units, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, shortPath.data(), units, ansi.data(), bytes, nullptr, nullptr);
    return ansi;
}

void UnmapView(void* view) {
    ::UnmapViewOfFile(view);
}
using MappedView = UniqueHandle<SimpleTraits<void*, nullptr, UnmapView>>;

// The whole of a file that is at most a few megabytes, as an INI file is.
std::string ReadSmallFile(HANDLE file) {
    LARGE_INTEGER size{};
    Check(::GetFileSizeEx(file, &size));
    if (size.QuadPart > 0x1000000) ThrowWin32(ERROR_FILE_TOO_LARGE);
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    Check(::ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr));
    text.resize(read);
    return text;
}

std::wstring WininitPath() {
    const std::wstring folder =
        SizedText([](wchar_t* text, DWORD units) { return ::GetWindowsDirectoryW(text, units); });
    if (folder.empty()) ThrowLastError();
    return JoinPath(folder, L"WININIT.INI");
}

void ScheduleFiles(const std::vector<std::wstring>& files) {
    if (!IsNtPlatform()) {
        ScheduleInWininit(WininitPath(), files);
        return;
    }
    for (const std::wstring& file : files)
        ::MoveFileExW(LongPathForm(file).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace

void CleanupTraceFiles(const std::wstring& traceFilePath, bool switchFound) {
    static std::atomic<bool> done{false};
    if (done.exchange(true)) return;
    const CCleanupMutex mutex;
    if (!mutex.Owned() || !switchFound) return;
    const PathParts trace = SplitPath(traceFilePath);
    if (trace.extension.empty()) return;
    try {
        ScheduleFiles(FilesLike(trace));
    } catch (...) {
        // Tracing never keeps the plug-in from loading.
    }
}

void ScheduleInWininit(const std::wstring& iniPath, const std::vector<std::wstring>& files) {
    if (files.empty()) return;
    std::string lines;
    for (const std::wstring& file : files) lines += core::NulRenameLine(ShortAnsiPath(file));
    FileHandle ini(::CreateFileW(LongPathForm(iniPath).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!ini) ThrowLastError();
    const std::string text = ReadSmallFile(ini.get());
    const core::TextInsertion insertion = core::RenameSectionInsertion(text, lines);
    const std::size_t length = text.size() + insertion.text.size();
    // A mapping larger than the file enlarges it by the inserted length.
    const KernelHandle mapping(
        ::CreateFileMappingW(ini.get(), nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(length), nullptr));
    if (!mapping) ThrowLastError();
    const MappedView view(::MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, length));
    if (!view) ThrowLastError();
    core::InsertInPlace({static_cast<char*>(view.get()), length}, text.size(), insertion);
    Check(::FlushViewOfFile(view.get(), length));
}

}  // namespace tracecore
