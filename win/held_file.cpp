#include "win/held_file.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/container/named_streams.h"
#include "win/hresult.h"
#include "win/long_path.h"
#include "win/system_library.h"

namespace {

// The kernel's calls on open files, which every Windows NT has; the documented ones of
// kernel32 that wrap them (SetFileInformationByHandle, GetFileInformationByHandleEx) came
// with Vista.
using NtStatus = LONG;
struct IoStatusBlock {
    union {
        NtStatus status;
        void* pointer;
    };
    ULONG_PTR information;
};
using NtFileInformationFunction = NtStatus(WINAPI*)(HANDLE, IoStatusBlock*, void*, ULONG, int);
using NtStatusToErrorFunction = ULONG(WINAPI*)(NtStatus);

constexpr int kFileBasicInformation = 4;
constexpr int kFileRenameInformation = 10;
constexpr int kFileDispositionInformation = 13;
constexpr int kFileStreamInformation = 22;
constexpr NtStatus kBufferOverflow = static_cast<NtStatus>(0x80000005);

// What a program may set; the rest (compression, encryption, sparse, ...) the system keeps.
constexpr DWORD kSettableAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
    FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

struct FileBasicInformation {
    LARGE_INTEGER creationTime;
    LARGE_INTEGER lastAccessTime;
    LARGE_INTEGER lastWriteTime;
    LARGE_INTEGER changeTime;
    ULONG attributes;
};

// FILE_RENAME_INFORMATION, its name following the fixed part.
struct FileRenameInformation {
    BOOLEAN replaceIfExists;
    HANDLE rootDirectory;
    ULONG nameLength;
    WCHAR name[1];
};

// The call's status; *returned, when asked, is the count of bytes it filled in.
NtStatus CallNt(const char* function, HANDLE file, void* information, ULONG length, int kind,
                std::size_t* returned = nullptr) {
    const auto call = LoadedLibraryFunction<NtFileInformationFunction>(L"ntdll.dll", function);
    if (!call) ThrowWin32(ERROR_PROC_NOT_FOUND);
    IoStatusBlock status{};
    const NtStatus result = call(file, &status, information, length, kind);
    if (returned) *returned = std::min<std::size_t>(status.information, length);
    return result;
}

void CheckNt(NtStatus status) {
    if (status >= 0) return;
    const auto toError =
        LoadedLibraryFunction<NtStatusToErrorFunction>(L"ntdll.dll", "RtlNtStatusToDosError");
    ThrowWin32(toError ? toError(status) : ERROR_GEN_FAILURE);
}

void SetInformation(HANDLE file, void* information, ULONG length, int kind) {
    CheckNt(CallNt("NtSetInformationFile", file, information, length, kind));
}

// The kernel's name of a path: "\??\C:\a", "\??\UNC\server\share\a".
std::wstring KernelPathOf(const std::wstring& path) {
    if (path.starts_with(LR"(\\?\)")) return LR"(\??\)" + path.substr(4);
    if (path.starts_with(LR"(\\)")) return LR"(\??\UNC\)" + path.substr(2);
    return LR"(\??\)" + path;
}

std::uint64_t Combined(DWORD high, DWORD low) {
    return static_cast<std::uint64_t>(high) << 32 | low;
}

}  // namespace

bool FileIdentity::UnchangedSince(const FileIdentity& earlier) const {
    return SameFileAs(earlier) && size == earlier.size &&
           ::CompareFileTime(&lastWrite, &earlier.lastWrite) == 0;
}

bool FileIdentity::IsPlainWithOneName() const {
    return !(attributes &
             (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) &&
           links == 1;
}

FileIdentity IdentityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information{};
    Check(::GetFileInformationByHandle(file, &information));
    FileIdentity identity;
    identity.volume = information.dwVolumeSerialNumber;
    identity.index = Combined(information.nFileIndexHigh, information.nFileIndexLow);
    identity.attributes = information.dwFileAttributes;
    identity.links = information.nNumberOfLinks;
    identity.size = Combined(information.nFileSizeHigh, information.nFileSizeLow);
    identity.lastWrite = information.ftLastWriteTime;
    return identity;
}

FileHandle OpenNoFollow(const std::wstring& path, DWORD access, DWORD share) {
    return FileHandle(::CreateFileW(LongPathForm(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

HeldPlainFile HoldPlainFile(const std::wstring& path) {
    HeldPlainFile held;
    const FileHandle probe = OpenNoFollow(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (!probe) {
        held.error = ::GetLastError();
        return held;
    }
    held.identity = IdentityOf(probe.get());
    if (!held.identity.IsPlainWithOneName()) return held;
    const bool readOnly = held.identity.attributes & FILE_ATTRIBUTE_READONLY;
    if (readOnly) SetHeldAttributes(probe.get(), held.identity.attributes & ~FILE_ATTRIBUTE_READONLY);
    held.file = OpenNoFollow(path, GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ);
    held.error = held.file ? 0 : ::GetLastError();
    if (held.file && !IdentityOf(held.file.get()).SameFileAs(held.identity)) {
        held.file.reset();
        held.error = ERROR_FILE_INVALID;
    }
    if (!held.file && readOnly) SetHeldAttributes(probe.get(), held.identity.attributes);
    return held;
}

void RenameHeld(HANDLE file, const std::wstring& newPath, bool replaceExisting) {
    const std::wstring name = KernelPathOf(newPath);
    const std::size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(offsetof(FileRenameInformation, name) + nameBytes + sizeof(wchar_t));
    auto* rename = reinterpret_cast<FileRenameInformation*>(buffer.data());
    rename->replaceIfExists = replaceExisting ? TRUE : FALSE;
    rename->rootDirectory = nullptr;
    rename->nameLength = static_cast<ULONG>(nameBytes);
    std::copy(name.begin(), name.end(), rename->name);
    SetInformation(file, rename, static_cast<ULONG>(buffer.size()), kFileRenameInformation);
}

void DeleteHeld(HANDLE file) {
    BOOLEAN deleteFile = TRUE;
    SetInformation(file, &deleteFile, sizeof deleteFile, kFileDispositionInformation);
}

void SetHeldAttributes(HANDLE file, DWORD attributes) {
    FileBasicInformation basic{};
    basic.attributes = attributes & kSettableAttributes;
    if (basic.attributes == 0) basic.attributes = FILE_ATTRIBUTE_NORMAL;
    SetInformation(file, &basic, sizeof basic, kFileBasicInformation);
}

void OverwriteWithZeros(HANDLE writable) {
    WriteZerosOver(writable);
    Check(::FlushFileBuffers(writable));
}

void WriteZerosOver(HANDLE writable) {
    constexpr std::uint64_t kPiece = std::uint64_t{1} << 20;
    LARGE_INTEGER size{};
    Check(::GetFileSizeEx(writable, &size));
    Check(::SetFilePointerEx(writable, LARGE_INTEGER{}, nullptr, FILE_BEGIN));
    auto remaining = static_cast<std::uint64_t>(size.QuadPart);
    const std::vector<BYTE> zeros(static_cast<std::size_t>(std::min(remaining, kPiece)));
    while (remaining > 0) {
        const auto length = static_cast<DWORD>(std::min<std::uint64_t>(remaining, zeros.size()));
        DWORD written = 0;
        Check(::WriteFile(writable, zeros.data(), length, &written, nullptr));
        if (written == 0) ThrowWin32(ERROR_WRITE_FAULT);
        remaining -= written;
    }
}

bool HasNamedStreams(HANDLE file) {
    std::vector<std::uint8_t> list(4096);
    std::size_t filled = 0;
    const NtStatus status = CallNt("NtQueryInformationFile", file, list.data(),
                                   static_cast<ULONG>(list.size()), kFileStreamInformation, &filled);
    // More streams than a page of names holds.
    if (status == kBufferOverflow) return true;
    // File systems without streams (FAT) do not answer the question.
    if (status < 0) return false;
    return core::ListsNamedStream(std::span(list).first(filled));
}

void FlushFolder(const std::wstring& folder) {
    const FileHandle handle(::CreateFileW(LongPathForm(folder).c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle) ::FlushFileBuffers(handle.get());
}
