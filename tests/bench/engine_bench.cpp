// The engines against a plain copy of the same files, in each format they write: a large file
// (encryption reads, enciphers, writes and flushes, then wipes, flushes and deletes the plain
// file; decryption reads, deciphers, writes, flushes and deletes the encrypted file) and many
// small ones, with the process's peak working set, and the payload cipher over memory before
// and now.
#include <windows.h>
// objbase.h and psapi.h need windows.h first.
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "core/container/memory_stream.h"
#include "core/container/sealed_file.h"
#include "engine/file_decryption.h"
#include "engine/file_encryption.h"
#include "engine/file_keys.h"
#include "tests/support/every_file_walk.h"
#include "tests/support/provider_chunks.h"
#include "ui/run_dialogs.h"
#include "win/handle_stream.h"
#include "win/unique_handle.h"

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;
constexpr int kRounds = 3;
constexpr double kEncryptTarget = 1.8;
constexpr double kDecryptTarget = 1.2;
constexpr std::size_t kSmallFiles = 2000;
constexpr std::size_t kSmallFileSize = 4096;
constexpr double kSmallEncryptTarget = 2.0;
constexpr double kSmallDecryptTarget = 1.5;
// 16 bytes, as the suite's secrets are: a sealed file's key needs 16 to 64.
const BYTE kSecret[] = {'b', 'e', 'n', 'c', 'h', ' ', 's', 'e', 'c', 'r', 'e', 't', ' ', '1', '6', 'b'};

// One format's engines, each with its progress dialog up, as a user's run goes.
struct Engines {
    Engines(core::FileFormat format, const char* formatName)
        : name(formatName), encryption(encryptionDialogs, kSecret, format) {
        encryptionDialogs.ShowProgress(encryption.ProgressTitle());
        decryptionDialogs.ShowProgress(decryption.ProgressTitle());
    }

    const char* name;
    CRunDialogs encryptionDialogs{nullptr};
    CRunDialogs decryptionDialogs{nullptr};
    CFileEncryption encryption;
    CFileDecryption decryption{decryptionDialogs, kSecret};
};

double Seconds() {
    LARGE_INTEGER frequency{}, now{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <class Body>
double Timed(Body body) {
    const double start = Seconds();
    body();
    return Seconds() - start;
}

FileHandle Open(const std::wstring& path, DWORD access, DWORD disposition) {
    FileHandle file(
        ::CreateFileW(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError();
    return file;
}

void WriteSample(const std::wstring& path, std::size_t size) {
    const FileHandle file = Open(path, GENERIC_WRITE, CREATE_ALWAYS);
    std::vector<BYTE> buffer(std::min(size, kMiB));
    for (std::size_t done = 0; done < size; done += buffer.size()) {
        for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<BYTE>(i * 7 + (done >> 20));
        WriteFully(file.get(), std::span(buffer).first(std::min(buffer.size(), size - done)));
    }
}

// What every engine run is measured against: the same bytes read, written and flushed.
void Copy(const std::wstring& from, const std::wstring& to) {
    const FileHandle input = Open(from, GENERIC_READ, OPEN_EXISTING);
    const FileHandle output = Open(to, GENERIC_WRITE, CREATE_NEW);
    std::vector<BYTE> buffer(kMiB);
    while (const std::size_t length = ReadFully(input.get(), buffer))
        WriteFully(output.get(), std::span(buffer).first(length));
    Check(::FlushFileBuffers(output.get()));
}

void Run(CEncryptionDecryption& engine, const std::wstring& path) {
    Check(engine.ProcessFile(path, false).Status());
}

// The folder's files in batches, as a user's run over it does them; every one must be done.
void RunOverFolder(CEncryptionDecryption& engine, const std::wstring& folder) {
    const int before = engine.ProcessedCount();
    WalkEveryFile(engine, folder);
    if (engine.ProcessedCount() - before != static_cast<int>(kSmallFiles)) ThrowHr(E_FAIL);
}

// Overwrites the file with zeros and flushes it, as the engines' wipe does.
void Overwrite(const std::wstring& path) {
    const FileHandle file = Open(path, GENERIC_WRITE, OPEN_EXISTING);
    LARGE_INTEGER size{};
    Check(::GetFileSizeEx(file.get(), &size));
    const std::vector<BYTE> zeros(kMiB);
    for (auto left = static_cast<std::uint64_t>(size.QuadPart); left > 0;) {
        const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(left, zeros.size()));
        WriteFully(file.get(), std::span(zeros).first(length));
        left -= length;
    }
    Check(::FlushFileBuffers(file.get()));
}

struct Times {
    double copy = 0;
    // What the file system itself takes beyond a copy: the encryption's overwrite of the plain
    // file (flushed), and the deletion of a file of that size, which both engines end with.
    double overwrite = 0;
    double remove = 0;
    double encrypt = 0;
    double decrypt = 0;
};

// Copy, encryption and decryption of one file, which is there again afterwards.
Times TimeOneFile(const std::wstring& plain, Engines& engines) {
    const std::wstring copy = plain + L".copy";
    Times times;
    times.copy = Timed([&] { Copy(plain, copy); });
    times.overwrite = Timed([&] { Overwrite(copy); });
    times.remove = Timed([&] { Check(::DeleteFileW(copy.c_str())); });
    times.encrypt = Timed([&] { Run(engines.encryption, plain); });
    times.decrypt = Timed([&] { Run(engines.decryption, plain + L".zte"); });
    return times;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

const char* Verdict(double ratio, double target) {
    return ratio <= target ? "met" : "not met";
}

double PeakWorkingSetMiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) return 0;
    return static_cast<double>(counters.PeakWorkingSetSize) / kMiB;
}

// The median of each figure over the rounds, each round's times against its own copy, so that
// a change of load between rounds does not count twice.
void LargeFile(const std::wstring& folder, std::size_t megabytes, Engines& engines) {
    const std::wstring plain = folder + L"\\large.bin";
    WriteSample(plain, megabytes * kMiB);
    std::vector<double> copy, encrypt, decrypt, encryptTime, decryptTime, overwrite, remove, encryptFloor,
        decryptFloor;
    for (int round = 0; round < kRounds; ++round) {
        const Times times = TimeOneFile(plain, engines);
        copy.push_back(times.copy);
        encrypt.push_back(times.encrypt / times.copy);
        encryptTime.push_back(times.encrypt);
        decryptTime.push_back(times.decrypt);
        decrypt.push_back(times.decrypt / times.copy);
        overwrite.push_back(times.overwrite);
        remove.push_back(times.remove);
        encryptFloor.push_back((times.copy + times.overwrite + times.remove) / times.copy);
        decryptFloor.push_back((times.copy + times.remove) / times.copy);
    }
    ::DeleteFileW(plain.c_str());
    const double size = static_cast<double>(megabytes * kMiB) / 1e6;
    std::printf("%s, %u MiB file, median of %d rounds\n", engines.name, static_cast<unsigned>(megabytes),
                kRounds);
    std::printf("  copy (read, write, flush):     %8.1f MB/s\n", size / Median(copy));
    std::printf("  encrypt (to wiped delete):     %8.2f x the copy's time  target %.1f x: %s  (%.1f MB/s)\n",
                Median(encrypt), kEncryptTarget, Verdict(Median(encrypt), kEncryptTarget),
                size / Median(encryptTime));
    std::printf("  decrypt:                       %8.2f x the copy's time  target %.1f x: %s  (%.1f MB/s)\n",
                Median(decrypt), kDecryptTarget, Verdict(Median(decrypt), kDecryptTarget),
                size / Median(decryptTime));
    std::printf(
        "  the file system alone, beyond the copy: overwrite and flush %.0f ms, delete %.0f ms;\n"
        "  no engine can go below %.2f x (encrypt) and %.2f x (decrypt) the copy's time\n",
        Median(overwrite) * 1e3, Median(remove) * 1e3, Median(encryptFloor), Median(decryptFloor));
}

void SmallFiles(const std::wstring& folder, Engines& engines) {
    const std::wstring plainFolder = folder + L"\\small";
    const std::wstring copyFolder = folder + L"\\small-copy";
    Check(::CreateDirectoryW(plainFolder.c_str(), nullptr));
    Check(::CreateDirectoryW(copyFolder.c_str(), nullptr));
    std::vector<std::wstring> names;
    for (std::size_t i = 0; i < kSmallFiles; ++i) {
        names.push_back(L"\\file" + std::to_wstring(i) + L".txt");
        WriteSample(plainFolder + names.back(), kSmallFileSize);
    }
    const double copy = Timed([&] {
        for (const std::wstring& name : names) Copy(plainFolder + name, copyFolder + name);
    });
    const double encrypt = Timed([&] { RunOverFolder(engines.encryption, plainFolder); });
    const double decrypt = Timed([&] { RunOverFolder(engines.decryption, plainFolder); });
    // Wine reads the whole folder to look for a name that is not there (any case may match).
    const double lookup = Timed([&] {
        for (const std::wstring& name : names) ::GetFileAttributesW((plainFolder + name + L".none").c_str());
    });
    for (const std::wstring& name : names) {
        ::DeleteFileW((plainFolder + name).c_str());
        ::DeleteFileW((copyFolder + name).c_str());
    }
    ::RemoveDirectoryW(plainFolder.c_str());
    ::RemoveDirectoryW(copyFolder.c_str());
    const double files = static_cast<double>(kSmallFiles);
    std::printf("%s, %u files of %u KiB\n", engines.name, static_cast<unsigned>(kSmallFiles),
                static_cast<unsigned>(kSmallFileSize >> 10));
    std::printf("  copy (each flushed):           %8.0f files/s  %.2f ms a file\n", files / copy,
                copy * 1e3 / files);
    std::printf(
        "  encrypt, the folder walked:    %8.0f files/s  %.2f ms a file  %.2f x the copy's time  "
        "target %.1f x: %s\n",
        files / encrypt, encrypt * 1e3 / files, encrypt / copy, kSmallEncryptTarget,
        Verdict(encrypt / copy, kSmallEncryptTarget));
    std::printf(
        "  decrypt, the folder walked:    %8.0f files/s  %.2f ms a file  %.2f x the copy's time  "
        "target %.1f x: %s\n",
        files / decrypt, decrypt * 1e3 / files, decrypt / copy, kSmallDecryptTarget,
        Verdict(decrypt / copy, kSmallDecryptTarget));
    std::printf(
        "  a name looked up and not found in that folder: %.2f ms (the copy looks up one a file,\n"
        "  the engines several: the output's name, a free unfinished name, the moves, the leftovers)\n",
        lookup * 1e3 / files);
}

template <class Body>
double MegabytesPerSecondOver(std::vector<BYTE>& data, Body body) {
    return static_cast<double>(data.size()) / 1e6 / Timed([&] { body(std::span(data)); });
}

// What no sealed engine can go below: the authenticated cipher alone, over memory, without a
// file. Its sealed output is kept for the deciphering that follows.
void SealedCodec(std::vector<BYTE>& data) {
    core::MemorySink sealed;
    sealed.Bytes().reserve(data.size() * 2);
    const double sealing = MegabytesPerSecondOver(data, [&](std::span<BYTE> bytes) {
        core::MemorySource source(bytes);
        core::WriteSealedFile(kSecret, "bench.bin", core::NewSealedSalt(), source, sealed);
    });
    const double opening = MegabytesPerSecondOver(data, [&](std::span<BYTE>) {
        core::MemorySource source(sealed.Bytes());
        core::SealedFileReader reader(kSecret, source);
        core::DiscardingSink plain;
        if (reader.ReadContent(plain) != core::SealedResult::Opened) ThrowHr(NTE_BAD_DATA);
    });
    std::printf("  %-50s %8.1f MB/s\n", "sealed file, enciphered and authenticated:", sealing);
    std::printf("  %-50s %8.1f MB/s\n", "sealed file, authenticated and deciphered:", opening);
}

// The payload cipher alone, over memory: before, one provider call per chunk; now, the XOR
// with the key stream and the sum in one pass.
void Ciphers() {
    CFileKeys keys(kSecret);
    std::vector<BYTE> data(64 * kMiB, 0x5a);
    const double provider =
        MegabytesPerSecondOver(data, [&](std::span<BYTE> bytes) { EncipherChunks(keys.Primary(), bytes); });
    std::uint64_t sum = 0;
    const double xored = MegabytesPerSecondOver(
        data, [&](std::span<BYTE> bytes) { sum = keys.PrimaryCipher().Encipher(bytes, 0, sum); });
    const char* now = core::FastestXorLoop() == core::XorLoop::Sse2
                          ? "key stream XOR and sum, SSE2 loop (now):"
                          : "key stream XOR and sum, plain loop (now):";
    std::printf("payload cipher over memory, under Wine\n");
    std::printf("  %-50s %8.1f MB/s\n", "CryptoAPI RC4, a call per 1024-byte chunk (before):", provider);
    std::printf("  %-50s %8.1f MB/s\n", now, xored);
    SealedCodec(data);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: engine_bench FOLDER [MEGABYTES]\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const std::size_t megabytes = argc > 2 ? std::wcstoul(argv[2], nullptr, 10) : 256;
    try {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        Engines first(core::FileFormat::Zte, "first format (.zte)");
        Engines sealed(core::FileFormat::Sealed, "sealed file (ZTS2)");
        // A small file first: the working set must not grow with the size of the file.
        const std::wstring small = folder + L"\\first.bin";
        WriteSample(small, 16 * kMiB);
        TimeOneFile(small, first);
        TimeOneFile(small, sealed);
        ::DeleteFileW(small.c_str());
        const double peakSmall = PeakWorkingSetMiB();
        LargeFile(folder, megabytes, first);
        LargeFile(folder, megabytes, sealed);
        std::printf("  peak working set: %.1f MiB after a 16 MiB file, %.1f MiB after the %u MiB files\n",
                    peakSmall, PeakWorkingSetMiB(), static_cast<unsigned>(megabytes));
        SmallFiles(folder, first);
        SmallFiles(folder, sealed);
        Ciphers();
        return 0;
    } catch (const HResultError& error) {
        std::printf("failed: 0x%08lx\n", static_cast<unsigned long>(error.code()));
        return 1;
    }
}
