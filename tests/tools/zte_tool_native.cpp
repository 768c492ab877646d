// Writes and reads encrypted files over the portable code. The interoperability test compares
// its files and its output byte for byte with the Windows twin, which goes through CryptoAPI.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/container/memory_stream.h"
#include "core/container/payload.h"
#include "core/container/sealed_file.h"
#include "core/container/zte_header.h"
#include "core/crypto/file_key.h"
#include "core/crypto/rc4.h"
#include "core/text/utf8.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Args = std::vector<std::string>;

constexpr int kFailure = 2;
constexpr char kUsage[] =
    "usage: zte_tool encrypt <secret-hex> <plain-in> <zte-out> [--name NAME] [--type N]\n"
    "       zte_tool decrypt <secret-hex> <zte-in> <plain-out>\n"
    "       zte_tool seal <secret-hex> <plain-in> <sealed-out> [--name NAME]\n"
    "       zte_tool open <secret-hex> <sealed-in> <plain-out>";

struct EncryptRequest {
    Bytes secret;
    std::string plainIn;
    std::string zteOut;
    std::string name;
    std::uint8_t encryptionType = core::kPrimaryKeyType;
};

[[noreturn]] void Fail(const std::string& message) {
    throw std::runtime_error(message);
}

std::uint8_t HexDigit(char digit) {
    if (digit >= '0' && digit <= '9') return static_cast<std::uint8_t>(digit - '0');
    if (digit >= 'a' && digit <= 'f') return static_cast<std::uint8_t>(digit - 'a' + 10);
    if (digit >= 'A' && digit <= 'F') return static_cast<std::uint8_t>(digit - 'A' + 10);
    Fail(std::string("not a hex digit in the secret: ") + digit);
}

Bytes SecretFromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) Fail("the secret has an odd number of hex digits");
    Bytes secret;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        secret.push_back(static_cast<std::uint8_t>(HexDigit(hex[i]) << 4 | HexDigit(hex[i + 1])));
    }
    return secret;
}

std::uint8_t EncryptionTypeFrom(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 0xFF) {
        Fail("--type takes a number from 0 to 255");
    }
    return static_cast<std::uint8_t>(value);
}

EncryptRequest ParseEncrypt(const Args& args) {
    EncryptRequest request;
    std::vector<std::string> positional;
    std::optional<std::string> name;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool isOption = args[i] == "--name" || args[i] == "--type";
        if (!isOption) {
            positional.push_back(args[i]);
        } else if (i + 1 == args.size()) {
            Fail(kUsage);
        } else if (args[i] == "--name") {
            name = args[++i];
        } else {
            request.encryptionType = EncryptionTypeFrom(args[++i]);
        }
    }
    if (positional.size() != 3) Fail(kUsage);
    request.secret = SecretFromHex(positional[0]);
    request.plainIn = positional[1];
    request.zteOut = positional[2];
    request.name = name ? *name : std::filesystem::path(request.plainIn).filename().string();
    return request;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail("cannot open " + path);
    const std::istreambuf_iterator<char> begin(in), end;
    Bytes bytes(begin, end);
    if (in.bad()) Fail("cannot read " + path);
    return bytes;
}

void WriteFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) Fail("cannot write " + path);
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Laid out as the engine writes it: the header with a zero checksum, the payload, and then
// the checksum patched in at its block's data.
Bytes EncryptedFile(const EncryptRequest& request, Bytes payload) {
    core::StandardHeader header = core::BuildStandardHeader(AsBytes(request.name), request.encryptionType);
    const std::uint64_t checksum = core::AddToChecksum(0, payload);
    core::Rc4 key = core::PayloadKey(request.secret, request.encryptionType != core::kPrimaryKeyType);
    core::CipherChunks(key, payload);
    Bytes& bytes = header.bytes;
    bytes.insert(bytes.end(), payload.begin(), payload.end());

    const auto checksumData = core::EncodeChecksum(checksum);
    std::copy(checksumData.begin(), checksumData.end(), bytes.begin() + header.checksumOffset);
    return bytes;
}

// Returns the one line the interoperability test compares; writes the plain file only when
// the content deciphered to the stored checksum.
std::string Decrypt(std::span<const std::uint8_t> secret, const Bytes& file, const std::string& plainOut) {
    core::MemorySource source(file);
    const core::ParsedHeader parsed = core::ParseHeader(source);
    if (parsed.result == core::ReadResult::NotEncrypted) return "not-encrypted";
    const std::optional<core::AcceptedHeader> header = core::AcceptHeader(parsed);
    if (!header) return "not-accepted";

    Bytes plain(file.begin() + std::min<std::size_t>(header->headerSize, file.size()), file.end());
    core::Rc4 key = core::PayloadKey(secret, header->useCompatibilityKey);
    core::CipherChunks(key, plain);
    if (core::AddToChecksum(0, plain) != header->checksum) return "bad-key";
    WriteFile(plainOut, plain);
    return "ok name=" + core::Utf16ToUtf8(header->fileName) +
           " key=" + (header->useCompatibilityKey ? "compatibility" : "primary");
}

// Returns the one line the interoperability test compares; writes the plain file only when
// the whole file opened.
std::string Open(std::span<const std::uint8_t> secret, const Bytes& file, const std::string& plainOut) {
    core::MemorySource source(file);
    core::SealedFileReader reader(secret, source);
    core::MemorySink content;
    const core::SealedResult result = reader.ReadContent(content);
    switch (result) {
        case core::SealedResult::Opened:
            WriteFile(plainOut, content.Bytes());
            return "ok name=" + core::Utf16ToUtf8(reader.StoredName());
        case core::SealedResult::NotSealed:
            return "not-sealed";
        case core::SealedResult::UnknownVersion:
            return "unknown-version";
        case core::SealedResult::NameRefused:
            return "name-refused";
        case core::SealedResult::Damaged:
            break;
    }
    return "damaged";
}

int Run(const Args& args) {
    if (!args.empty() && args[0] == "encrypt") {
        const EncryptRequest request = ParseEncrypt(Args(args.begin() + 1, args.end()));
        WriteFile(request.zteOut, EncryptedFile(request, ReadFile(request.plainIn)));
        return 0;
    }
    if (!args.empty() && args[0] == "seal") {
        const EncryptRequest request = ParseEncrypt(Args(args.begin() + 1, args.end()));
        const Bytes plain = ReadFile(request.plainIn);
        core::MemorySource content(plain);
        core::MemorySink sealed;
        core::WriteSealedFile(request.secret, request.name, core::NewSealedSalt(), content, sealed);
        WriteFile(request.zteOut, sealed.Bytes());
        return 0;
    }
    if (args.size() == 4 && args[0] == "open") {
        std::cout << Open(SecretFromHex(args[1]), ReadFile(args[2]), args[3]) << '\n';
        return 0;
    }
    if (args.size() == 4 && args[0] == "decrypt") {
        std::cout << Decrypt(SecretFromHex(args[1]), ReadFile(args[2]), args[3]) << '\n';
        return 0;
    }
    Fail(kUsage);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(Args(argv + 1, argv + std::max(argc, 1)));
    } catch (const std::exception& error) {
        std::cerr << "zte_tool: " << error.what() << '\n';
        return kFailure;
    }
}
