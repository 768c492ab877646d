#include "store/store_file.h"

#include <algorithm>
#include <limits>

#include "store/temp_file.h"
#include "win/hresult.h"
#include "win/unique_handle.h"

namespace {

// ReadFile and WriteFile take 32-bit counts.
constexpr std::size_t kMaxTransfer = 1u << 30;

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

void WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError();
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD want = static_cast<DWORD>(std::min(bytes.size(), kMaxTransfer));
        Check(::WriteFile(file.get(), bytes.data(), want, &written, nullptr));
        if (written == 0) ThrowWin32(ERROR_WRITE_FAULT);
        bytes = bytes.subspan(written);
    }
    // On disk before it replaces the only other copy of the list.
    Check(::FlushFileBuffers(file.get()));
}

}  // namespace

ULONGLONG StoreFileWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return 0;
    }
    return ULARGE_INTEGER{{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}}.QuadPart;
}

std::vector<std::uint8_t> ReadStoreFile(const std::wstring& path) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError();
    LARGE_INTEGER size{};
    Check(::GetFileSizeEx(file.get(), &size));
    if (static_cast<ULONGLONG>(size.QuadPart) > std::numeric_limits<std::size_t>::max() / 4) {
        ThrowHr(E_OUTOFMEMORY);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t total = 0;
    while (total < bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min(bytes.size() - total, kMaxTransfer));
        Check(::ReadFile(file.get(), bytes.data() + total, want, &got, nullptr));
        if (got == 0) break;
        total += got;
    }
    bytes.resize(total);
    return bytes;
}

void WriteStoreFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    CTempFile temp(FolderOf(path));
    WriteWholeFile(temp.Path(), bytes);
    if (::MoveFileExW(temp.Path().c_str(), path.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        temp.Keep();
        return;
    }
    WriteWholeFile(path, bytes);
}
