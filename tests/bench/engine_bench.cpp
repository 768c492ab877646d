// The engines against a plain copy of the same file: encryption (read, encipher, write,
// flush, wipe, delete) and decryption, in MB/s and as multiples of the copy's time.
#include <windows.h>
// objbase.h needs windows.h first.
#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "engine/file_decryption.h"
#include "engine/file_encryption.h"
#include "engine/file_keys.h"
#include "engine/handle_stream.h"
#include "engine/payload_cipher.h"
#include "win/unique_handle.h"

namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
const BYTE kSecret[] = {'b', 'e', 'n', 'c', 'h'};

double Seconds() {
    LARGE_INTEGER frequency{}, now{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

FileHandle Open(const std::wstring& path, DWORD access, DWORD disposition) {
    FileHandle file(
        ::CreateFileW(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError();
    return file;
}

void WriteSample(const std::wstring& path, std::size_t megabytes) {
    const FileHandle file = Open(path, GENERIC_WRITE, CREATE_ALWAYS);
    std::vector<BYTE> buffer(kBufferSize);
    for (std::size_t block = 0; block < megabytes; ++block) {
        for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<BYTE>(i * 7 + block);
        WriteFully(file.get(), buffer);
    }
}

void Copy(const std::wstring& from, const std::wstring& to) {
    const FileHandle input = Open(from, GENERIC_READ, OPEN_EXISTING);
    const FileHandle output = Open(to, GENERIC_WRITE, CREATE_NEW);
    std::vector<BYTE> buffer(kBufferSize);
    while (const std::size_t length = ReadFully(input.get(), buffer))
        WriteFully(output.get(), std::span(buffer).first(length));
    Check(::FlushFileBuffers(output.get()));
}

template <class Body>
double Timed(Body body) {
    const double start = Seconds();
    body();
    return Seconds() - start;
}

// CryptoAPI's RC4 alone, over memory: the floor under the engines' time.
double CipherMegabytesPerSecond() {
    CFileKeys keys(kSecret);
    std::vector<BYTE> data(64 * kBufferSize);
    const double seconds = Timed([&] {
        for (std::size_t offset = 0; offset < data.size(); offset += kBufferSize)
            DecipherChunks(keys.Primary(), std::span(data).subspan(offset, kBufferSize));
    });
    return static_cast<double>(data.size()) / 1e6 / seconds;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: engine_bench FOLDER [MEGABYTES]\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const std::size_t megabytes = argc > 2 ? std::wcstoul(argv[2], nullptr, 10) : 256;
    const std::wstring plain = folder + L"\\bench.bin";
    try {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        WriteSample(plain, megabytes);
        const double copy = Timed([&] { Copy(plain, plain + L".copy"); });
        ::DeleteFileW((plain + L".copy").c_str());
        CFileEncryption encryption(nullptr, kSecret);
        CFileDecryption decryption(nullptr, kSecret);
        const double encrypt =
            Timed([&] { Check(static_cast<HRESULT>(encryption.ProcessFile(plain, false))); });
        const double decrypt =
            Timed([&] { Check(static_cast<HRESULT>(decryption.ProcessFile(plain + L".zte", false))); });
        ::DeleteFileW(plain.c_str());
        const double size = static_cast<double>(megabytes) * kBufferSize / 1e6;
        std::printf("CryptoAPI RC4 (1024-byte chunks): %.1f MB/s\n", CipherMegabytesPerSecond());
        std::printf("%u MiB file\n", static_cast<unsigned>(megabytes));
        std::printf("copy (read, write, flush):  %8.1f MB/s\n", size / copy);
        std::printf("encrypt (to wiped delete):  %8.1f MB/s  %.2f x the copy's time\n", size / encrypt,
                    encrypt / copy);
        std::printf("decrypt:                    %8.1f MB/s  %.2f x the copy's time\n", size / decrypt,
                    decrypt / copy);
        return 0;
    } catch (const HResultError& error) {
        std::printf("failed: 0x%08lx\n", static_cast<unsigned long>(error.code()));
        return 1;
    }
}
