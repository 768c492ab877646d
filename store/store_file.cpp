#include "store/store_file.h"

#include <algorithm>

#include "store/temp_file.h"
#include "win/hresult.h"
#include "win/long_path.h"
#include "win/unique_handle.h"
#include "win/whole_file.h"

namespace {

// WriteFile takes 32-bit counts.
constexpr std::size_t kMaxTransfer = 1u << 30;

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

void WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    FileHandle file(::CreateFileW(LongPathForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
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
    if (!::GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return 0;
    }
    return ULARGE_INTEGER{{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}}.QuadPart;
}

std::vector<std::uint8_t> ReadStoreFile(const std::wstring& path) {
    return ReadWholeFile(path);
}

void WriteStoreFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    CTempFile temp(FolderOf(path));
    WriteWholeFile(temp.Path(), bytes);
    if (::MoveFileExW(LongPathForm(temp.Path()).c_str(), LongPathForm(path).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        temp.Keep();
        return;
    }
    WriteWholeFile(path, bytes);
}
