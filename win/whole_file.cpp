#include "win/whole_file.h"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "win/hresult.h"
#include "win/long_path.h"
#include "win/unique_handle.h"

namespace {

// ReadFile takes 32-bit counts.
constexpr std::size_t kMaxTransfer = 1u << 30;

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
    FileHandle file(::CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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
