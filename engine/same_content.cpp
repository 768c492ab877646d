#include "engine/same_content.h"

#include <algorithm>

#include "core/container/zte_header.h"
#include "core/crypto/secure_bytes.h"
#include "win/handle_stream.h"
#include "win/hresult.h"
#include "win/path_parts.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

namespace {

constexpr std::size_t kPieceSize = std::size_t{1} << 20;

std::uint64_t SizeOf(HANDLE file) {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(file, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
}

// Both files from their positions to their ends, piece by piece.
bool SamePayload(HANDLE encrypted, HANDLE plain, const core::ChunkCipher& cipher, std::uint64_t checksum) {
    core::SecureBytes deciphered(kPieceSize);
    core::SecureBytes expected(kPieceSize);
    std::uint64_t position = 0;
    std::uint64_t sum = 0;
    for (;;) {
        const std::size_t length = ReadFully(encrypted, deciphered.Bytes());
        if (ReadFully(plain, expected.Bytes().first(length)) != length) return false;
        if (length == 0) return sum == checksum;
        const std::span<BYTE> data = deciphered.Bytes().first(length);
        sum = cipher.Decipher(data, position, sum);
        if (!std::equal(data.begin(), data.end(), expected.Bytes().begin())) return false;
        position += length;
    }
}

}  // namespace

bool HoldsTheSameContent(HANDLE encrypted, HANDLE plain, const std::wstring& plainPath,
                         const CFileKeys& keys) {
    try {
        Check(::SetFilePointerEx(encrypted, LARGE_INTEGER{}, nullptr, FILE_BEGIN));
        Check(::SetFilePointerEx(plain, LARGE_INTEGER{}, nullptr, FILE_BEGIN));
        CHandleSource source(encrypted);
        const std::optional<core::AcceptedHeader> accepted =
            core::JudgeHeader(core::ParseHeader(source)).header;
        if (!accepted || !SameNameIgnoringCase(ToWide(accepted->fileName), FileNameOf(plainPath)) ||
            SizeOf(encrypted) != accepted->headerSize + SizeOf(plain))
            return false;
        LARGE_INTEGER offset{};
        offset.QuadPart = accepted->headerSize;
        Check(::SetFilePointerEx(encrypted, offset, nullptr, FILE_BEGIN));
        const core::ChunkCipher& cipher =
            accepted->useCompatibilityKey ? keys.CompatibilityCipher() : keys.PrimaryCipher();
        return SamePayload(encrypted, plain, cipher, accepted->checksum);
    } catch (const HResultError&) {
        return false;
    }
}
