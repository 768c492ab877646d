#include "engine/same_content.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "core/container/sealed_file.h"
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

void Rewind(HANDLE file) {
    Check(::SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN));
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

bool SameZteContent(HANDLE encrypted, HANDLE plain, const std::wstring& plainPath, const CFileKeys& keys) {
    CHandleSource source(encrypted);
    const std::optional<core::AcceptedHeader> accepted = core::JudgeHeader(core::ParseHeader(source)).header;
    if (!accepted || !SameNameIgnoringCase(ToWide(accepted->fileName), FileNameOf(plainPath)) ||
        SizeOf(encrypted) != accepted->headerSize + SizeOf(plain))
        return false;
    LARGE_INTEGER offset{};
    offset.QuadPart = accepted->headerSize;
    Check(::SetFilePointerEx(encrypted, offset, nullptr, FILE_BEGIN));
    const core::ChunkCipher& cipher =
        accepted->useCompatibilityKey ? keys.CompatibilityCipher() : keys.PrimaryCipher();
    return SamePayload(encrypted, plain, cipher, accepted->checksum);
}

// The deciphered content against the plain file's next bytes; the first difference ends the
// reading, thrown.
class ComparingSink final : public core::ByteSink {
public:
    explicit ComparingSink(HANDLE plain) : plain_(plain) {}
    void Write(std::span<const std::uint8_t> bytes) override {
        const std::span<BYTE> expected = expected_.Bytes().first(bytes.size());
        if (ReadFully(plain_, expected) != bytes.size() ||
            !std::equal(bytes.begin(), bytes.end(), expected.begin()))
            ThrowWin32(ERROR_FILE_INVALID);
    }

private:
    HANDLE plain_;
    core::SecureBytes expected_{core::kSealedChunkSize};
};

// Nothing is written: the content is only compared, and authenticated to its end.
bool SameSealedContent(HANDLE encrypted, HANDLE plain, const std::wstring& plainPath, const CFileKeys& keys) {
    CHandleSource source(encrypted);
    core::SealedFileReader reader(keys.Secret(), source);
    if (reader.Result() != core::SealedResult::Opened ||
        !SameNameIgnoringCase(ToWide(reader.StoredName()), FileNameOf(plainPath)))
        return false;
    ComparingSink sink(plain);
    BYTE after = 0;
    return reader.ReadContent(sink) == core::SealedResult::Opened && ReadFully(plain, {&after, 1}) == 0;
}

}  // namespace

bool HoldsTheSameContent(HANDLE encrypted, HANDLE plain, const std::wstring& plainPath,
                         const CFileKeys& keys) {
    try {
        Rewind(plain);
        Rewind(encrypted);
        std::array<std::uint8_t, 4> start{};
        const std::size_t read = ReadFully(encrypted, start);
        Rewind(encrypted);
        switch (core::FormatOf(std::span(start).first(read))) {
            case core::FileFormat::Zte:
                return SameZteContent(encrypted, plain, plainPath, keys);
            case core::FileFormat::Sealed:
                return SameSealedContent(encrypted, plain, plainPath, keys);
            case core::FileFormat::NotEncrypted:
                break;
        }
        return false;
    } catch (const HResultError&) {
        return false;
    } catch (const std::invalid_argument&) {
        // A secret the sealed file's key cannot be made from.
        return false;
    }
}
