// Writes and reads encrypted files through CryptoAPI and the container functions; the
// interoperability test compares its files and output with the portable twin's.
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/container/payload.h"
#include "core/container/zte_header.h"
#include "core/text/utf8.h"
#include "engine/file_decryption.h"
#include "engine/file_encryption.h"
#include "engine/file_keys.h"
#include "hex.h"
#include "secret/crypt_blob.h"
#include "tests/support/provider_chunks.h"
#include "ui/run_dialogs.h"
#include "win/com_apartment.h"
#include "win/handle_stream.h"
#include "win/hresult.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr int kFailure = 2;

std::string Utf8(const std::wstring& text) {
    return core::Utf16ToUtf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

std::vector<BYTE> Secret(const wchar_t* hex) {
    const auto bytes = BytesFromHex(Utf8(hex));
    if (!bytes) ThrowHr(E_INVALIDARG);
    return *bytes;
}

FileHandle OpenFile(const wchar_t* path, DWORD access, DWORD disposition) {
    FileHandle file(::CreateFileW(path, access, FILE_SHARE_READ, nullptr, disposition, 0, nullptr));
    if (!file) ThrowLastError();
    return file;
}

std::wstring FinalComponent(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Copies the rest of in to out through transform, which sees whole buffers that start on a
// chunk boundary; returns the checksum of the plain bytes.
template <class Transform>
std::uint64_t CopyPayload(HANDLE in, HANDLE out, bool sumBeforeTransform, Transform transform) {
    std::vector<BYTE> buffer(kBufferSize);
    std::uint64_t sum = 0;
    for (std::size_t got; (got = ReadFully(in, buffer)) > 0;) {
        const std::span<BYTE> data(buffer.data(), got);
        if (sumBeforeTransform) sum = core::AddToChecksum(sum, data);
        transform(data);
        if (!sumBeforeTransform) sum = core::AddToChecksum(sum, data);
        WriteFully(out, data);
    }
    return sum;
}

int Encrypt(int argc, wchar_t** argv) {
    std::wstring name = FinalComponent(argv[3]);
    BYTE type = core::kPrimaryKeyType;
    for (int i = 5; i + 1 < argc; i += 2) {
        if (std::wstring(argv[i]) == L"--name") name = argv[i + 1];
        if (std::wstring(argv[i]) == L"--type") type = static_cast<BYTE>(_wtoi(argv[i + 1]));
    }
    CFileKeys keys(Secret(argv[2]));
    CCryptKey& key = type == core::kPrimaryKeyType ? keys.Primary() : keys.Compatibility();
    FileHandle in = OpenFile(argv[3], GENERIC_READ, OPEN_EXISTING);
    FileHandle out = OpenFile(argv[4], GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    const std::string utf8Name = Utf8(name);
    const core::StandardHeader header = core::BuildStandardHeader(
        std::span(reinterpret_cast<const std::uint8_t*>(utf8Name.data()), utf8Name.size()), type);
    WriteFully(out.get(), header.bytes);
    const std::uint64_t sum =
        CopyPayload(in.get(), out.get(), true, [&](std::span<BYTE> data) { EncipherChunks(key, data); });
    LARGE_INTEGER checksum{};
    checksum.QuadPart = header.checksumOffset;
    Check(::SetFilePointerEx(out.get(), checksum, nullptr, FILE_BEGIN));
    WriteFully(out.get(), core::EncodeChecksum(sum));
    return 0;
}

std::string Decrypt(wchar_t** argv) {
    FileHandle in = OpenFile(argv[3], GENERIC_READ, OPEN_EXISTING);
    CHandleSource source(in.get());
    const core::ParsedHeader parsed = core::ParseHeader(source);
    if (parsed.result == core::ReadResult::NotEncrypted) return "not-encrypted";
    const auto accepted = core::JudgeHeader(parsed).header;
    if (!accepted) return "not-accepted";
    const std::wstring name = ToWide(accepted->fileName);

    CFileKeys keys(Secret(argv[2]));
    CCryptKey& key = accepted->useCompatibilityKey ? keys.Compatibility() : keys.Primary();
    LARGE_INTEGER payload{};
    payload.QuadPart = accepted->headerSize;
    Check(::SetFilePointerEx(in.get(), payload, nullptr, FILE_BEGIN));
    std::uint64_t sum = 0;
    {
        FileHandle out = OpenFile(argv[4], GENERIC_WRITE, CREATE_ALWAYS);
        sum =
            CopyPayload(in.get(), out.get(), false, [&](std::span<BYTE> data) { DecipherChunks(key, data); });
    }
    if (sum != accepted->checksum) {
        ::DeleteFileW(argv[4]);
        return "bad-key";
    }
    return "ok name=" + Utf8(name) + " key=" + (accepted->useCompatibilityKey ? "compatibility" : "primary");
}

// The file through the program's own engine, in place beside it as a user's run would:
// prints the engine's result.
template <class Engine, class... Options>
int RunEngine(wchar_t** argv, Options... options) {
    int result = kFailure;
    {
        const CComApartment apartment;
        CRunDialogs dialogs(nullptr);
        Engine engine(dialogs, Secret(argv[2]), options...);
        dialogs.ShowProgress(engine.ProgressTitle());
        result = engine.ProcessFile(argv[3], false).Status();
    }
    std::printf("%d\n", result);
    return result == S_OK ? 0 : kFailure;
}

// The secret the suite's password dialogs make from a password, through CryptoAPI's MD4:
// what a recovery tool must make from the same password.
int PrintPasswordSecret(const wchar_t* password) {
    CWideStringBlob secret{std::wstring_view(password)};
    secret.HashInPlace(CALG_MD4);
    for (const BYTE byte : secret.Bytes()) std::printf("%02x", byte);
    std::printf("\n");
    return 0;
}

int Run(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"engine-encrypt" && argc == 4) return RunEngine<CFileEncryption>(argv);
    if (command == L"engine-seal" && argc == 4)
        return RunEngine<CFileEncryption>(argv, core::FileFormat::Sealed);
    if (command == L"engine-decrypt" && argc == 4) return RunEngine<CFileDecryption>(argv);
    if (command == L"encrypt" && argc >= 5) return Encrypt(argc, argv);
    if (command == L"password-secret" && argc == 3) return PrintPasswordSecret(argv[2]);
    if (command == L"decrypt" && argc == 5) {
        std::printf("%s\n", Decrypt(argv).c_str());
        return 0;
    }
    std::fprintf(stderr,
                 "usage: zte_tool encrypt|decrypt <secret-hex> <in> <out> [--name NAME] [--type N]\n"
                 "       zte_tool engine-encrypt|engine-seal|engine-decrypt <secret-hex> <file>\n"
                 "       zte_tool password-secret <password>\n");
    return kFailure;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        return Run(argc, argv);
    } catch (const HResultError& e) {
        std::fprintf(stderr, "zte_tool: failed with 0x%08lX\n", static_cast<unsigned long>(e.code()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zte_tool: %s\n", e.what());
    }
    return kFailure;
}
