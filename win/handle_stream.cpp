#include "win/handle_stream.h"

#include <algorithm>

#include "win/hresult.h"

namespace {
// ReadFile and WriteFile take 32-bit counts.
constexpr std::size_t kMaxTransfer = 1u << 30;
}  // namespace

std::size_t ReadFully(HANDLE file, std::span<BYTE> buffer) {
    std::size_t total = 0;
    while (total < buffer.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min(buffer.size() - total, kMaxTransfer));
        Check(::ReadFile(file, buffer.data() + total, want, &got, nullptr));
        if (got == 0) break;
        total += got;
    }
    return total;
}

void WriteFully(HANDLE file, std::span<const BYTE> bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD want = static_cast<DWORD>(std::min(bytes.size(), kMaxTransfer));
        Check(::WriteFile(file, bytes.data(), want, &written, nullptr));
        if (written == 0) ThrowHr(HResultFromWin32(ERROR_WRITE_FAULT));
        bytes = bytes.subspan(written);
    }
}

std::size_t CHandleSource::Read(std::span<std::uint8_t> buffer) {
    return ReadFully(file_, buffer);
}

std::uint64_t CHandleSource::Position() {
    LARGE_INTEGER position{};
    Check(::SetFilePointerEx(file_, LARGE_INTEGER{}, &position, FILE_CURRENT));
    return static_cast<std::uint64_t>(position.QuadPart);
}

void CHandleSink::Write(std::span<const std::uint8_t> bytes) {
    WriteFully(file_, bytes);
}
