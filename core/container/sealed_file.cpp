#include "core/container/sealed_file.h"

#include <sodium.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "core/container/stored_name.h"
#include "core/container/zte_header.h"
#include "core/crypto/secure_bytes.h"

namespace core {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kFixedStart = 7;  // magic, version, extension length
constexpr std::size_t kStreamHeaderSize = crypto_secretstream_xchacha20poly1305_HEADERBYTES;
constexpr std::size_t kTailSize =
    sizeof(SealedSalt) + kStreamHeaderSize + 2;  // salt, stream header, name length
constexpr std::size_t kSealedMessageSize = kSealedChunkSize + crypto_secretstream_xchacha20poly1305_ABYTES;
constexpr std::string_view kKeyContext = "ZTS2 file key";
constexpr std::uint8_t kTagMessage = crypto_secretstream_xchacha20poly1305_TAG_MESSAGE;
constexpr std::uint8_t kTagFinal = crypto_secretstream_xchacha20poly1305_TAG_FINAL;

static_assert(sizeof(SealedSalt) == 16 && kStreamHeaderSize == 24);

void InitialiseSodium() {
    if (sodium_init() < 0) throw std::runtime_error("libsodium cannot be initialised");
}

// A short read is not the end of the input: only a read of nothing is.
std::size_t Fill(ByteSource& source, std::span<std::uint8_t> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const std::size_t length = source.Read(buffer.subspan(filled));
        if (length == 0) break;
        filled += length;
    }
    return filled;
}

std::uint16_t U16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

void AppendU16(Bytes& bytes, std::size_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

// The header, up to and including the name length: Opened once it is read whole, the name
// still to be opened.
SealedResult ReadHeader(ByteSource& input, Bytes& header) {
    header.resize(kFixedStart);
    const std::size_t start = Fill(input, header);
    if (FormatOf(std::span(header).first(start)) != FileFormat::Sealed) return SealedResult::NotSealed;
    if (start < kFixedStart) return SealedResult::Damaged;
    if (header[4] != kSealedVersion) return SealedResult::UnknownVersion;
    header.resize(kFixedStart + U16At(header, 5) + kTailSize);
    const bool whole = Fill(input, std::span(header).subspan(kFixedStart)) == header.size() - kFixedStart;
    return whole ? SealedResult::Opened : SealedResult::Damaged;
}

}  // namespace

// Both wiped when the file is done with.
struct SealedStream {
    std::array<std::uint8_t, crypto_secretstream_xchacha20poly1305_KEYBYTES> key{};
    crypto_secretstream_xchacha20poly1305_state state{};

    SealedStream(std::span<const std::uint8_t> secret, const SealedSalt& salt) {
        if (secret.size() < crypto_generichash_KEYBYTES_MIN ||
            secret.size() > crypto_generichash_KEYBYTES_MAX)
            throw std::invalid_argument("the secret must be 16 to 64 bytes long");
        InitialiseSodium();
        std::array<std::uint8_t, kKeyContext.size() + sizeof(SealedSalt)> input{};
        std::copy(kKeyContext.begin(), kKeyContext.end(), input.begin());
        std::copy(salt.begin(), salt.end(), input.begin() + kKeyContext.size());
        crypto_generichash(key.data(), key.size(), input.data(), input.size(), secret.data(), secret.size());
    }
    ~SealedStream() {
        sodium_memzero(key.data(), key.size());
        sodium_memzero(&state, sizeof state);
    }
    SealedStream(const SealedStream&) = delete;
    SealedStream& operator=(const SealedStream&) = delete;

    Bytes Push(std::span<const std::uint8_t> plain, std::uint8_t tag,
               std::span<const std::uint8_t> data = {}) {
        Bytes sealed(plain.size() + crypto_secretstream_xchacha20poly1305_ABYTES);
        crypto_secretstream_xchacha20poly1305_push(&state, sealed.data(), nullptr, plain.data(), plain.size(),
                                                   data.data(), data.size(), tag);
        return sealed;
    }

    // The plain bytes go to the front of plain; their count when authentic and of one of the
    // two tags the format uses, none otherwise.
    std::optional<std::size_t> Pull(std::span<const std::uint8_t> sealed, std::span<std::uint8_t> plain,
                                    std::uint8_t& tag, std::span<const std::uint8_t> data = {}) {
        unsigned long long length = 0;
        if (sealed.size() < crypto_secretstream_xchacha20poly1305_ABYTES ||
            crypto_secretstream_xchacha20poly1305_pull(&state, plain.data(), &length, &tag, sealed.data(),
                                                       sealed.size(), data.data(), data.size()) != 0 ||
            (tag != kTagMessage && tag != kTagFinal))
            return std::nullopt;
        return static_cast<std::size_t>(length);
    }
};

FileFormat FormatOf(std::span<const std::uint8_t> start) {
    if (start.size() < kMagic.size()) return FileFormat::NotEncrypted;
    if (std::equal(kMagic.begin(), kMagic.end(), start.begin())) return FileFormat::Zte;
    if (std::equal(kSealedMagic.begin(), kSealedMagic.end(), start.begin())) return FileFormat::Sealed;
    return FileFormat::NotEncrypted;
}

SealedSalt NewSealedSalt() {
    InitialiseSodium();
    SealedSalt salt;
    randombytes_buf(salt.data(), salt.size());
    return salt;
}

namespace {

// Starts the stream: its header goes into the file's, which ends with the name length.
Bytes StartedHeader(SealedStream& stream, const SealedSalt& salt, std::size_t nameSize) {
    Bytes header(kSealedMagic.begin(), kSealedMagic.end());
    header.push_back(kSealedVersion);
    AppendU16(header, 0);  // no extension
    header.insert(header.end(), salt.begin(), salt.end());
    header.resize(header.size() + kStreamHeaderSize);
    crypto_secretstream_xchacha20poly1305_init_push(
        &stream.state, header.data() + header.size() - kStreamHeaderSize, stream.key.data());
    AppendU16(header, nameSize);
    return header;
}

void StopIfAsked(const SealedProgress& progress) {
    if (progress.stopIfAsked) progress.stopIfAsked();
}

void Advance(const SealedProgress& progress, std::size_t length) {
    if (progress.advance) progress.advance(length);
}

// A chunk is sealed once the next one is read: only then is it known to be the last.
void SealContent(SealedStream& stream, ByteSource& content, ByteSink& output,
                 const SealedProgress& progress) {
    SecureBytes chunks[2]{SecureBytes(kSealedChunkSize), SecureBytes(kSealedChunkSize)};
    std::size_t length = Fill(content, chunks[0].Bytes());
    for (int current = 0;; current ^= 1) {
        const std::size_t next = length == kSealedChunkSize ? Fill(content, chunks[current ^ 1].Bytes()) : 0;
        StopIfAsked(progress);
        output.Write(stream.Push(chunks[current].Bytes().first(length), next == 0 ? kTagFinal : kTagMessage));
        Advance(progress, length);
        if (next == 0) return;
        length = next;
    }
}

}  // namespace

void WriteSealedFile(std::span<const std::uint8_t> secret, std::string_view storedName,
                     const SealedSalt& salt, ByteSource& content, ByteSink& output,
                     const SealedProgress& progress) {
    if (!IsWritableStoredName(storedName) || storedName.size() > 0xFFFF)
        throw std::invalid_argument("no reader would accept this stored name");
    SealedStream stream(secret, salt);
    const Bytes header = StartedHeader(stream, salt, storedName.size());
    output.Write(header);
    output.Write(stream.Push({reinterpret_cast<const std::uint8_t*>(storedName.data()), storedName.size()},
                             kTagMessage, header));
    SealContent(stream, content, output, progress);
}

SealedFileReader::SealedFileReader(std::span<const std::uint8_t> secret, ByteSource& input) : input_(input) {
    Bytes header;
    result_ = ReadHeader(input, header);
    if (result_ == SealedResult::Opened) result_ = OpenName(secret, header);
}

SealedResult SealedFileReader::OpenName(std::span<const std::uint8_t> secret,
                                        std::span<const std::uint8_t> header) {
    const auto tail = header.last(kTailSize);
    SealedSalt salt;
    std::copy_n(tail.begin(), salt.size(), salt.begin());
    stream_ = std::make_unique<SealedStream>(secret, salt);
    Bytes sealedName(U16At(tail, kTailSize - 2) + crypto_secretstream_xchacha20poly1305_ABYTES);
    if (crypto_secretstream_xchacha20poly1305_init_pull(&stream_->state, tail.data() + salt.size(),
                                                        stream_->key.data()) != 0 ||
        Fill(input_, sealedName) < sealedName.size())
        return SealedResult::Damaged;
    SecureBytes name(sealedName.size());
    std::uint8_t tag = 0;
    const std::optional<std::size_t> length = stream_->Pull(sealedName, name.Bytes(), tag, header);
    if (!length || tag != kTagMessage) return SealedResult::Damaged;
    const std::span<const std::uint8_t> utf8 = name.Bytes().first(*length);
    storedName_ = StoredNameFromUtf8(utf8);
    // Stricter than the first format, which no file of this one has to stay readable under:
    // the bytes must be exactly a name a writer may store, so a zero or broken UTF-8 inside
    // cannot hide part of it.
    return IsWritableStoredName({reinterpret_cast<const char*>(utf8.data()), utf8.size()})
               ? SealedResult::Opened
               : SealedResult::NameRefused;
}

std::uint64_t SealedContentSize(std::uint64_t messageBytes) {
    const std::uint64_t messages =
        std::max<std::uint64_t>(1, (messageBytes + kSealedMessageSize - 1) / kSealedMessageSize);
    const std::uint64_t overhead = messages * crypto_secretstream_xchacha20poly1305_ABYTES;
    return messageBytes > overhead ? messageBytes - overhead : 0;
}

SealedFileReader::~SealedFileReader() = default;

SealedResult SealedFileReader::ReadContent(ByteSink& output, const SealedProgress& progress) {
    if (result_ != SealedResult::Opened) return result_;
    result_ = SealedResult::Damaged;
    Bytes sealed(kSealedMessageSize);
    SecureBytes plain(kSealedChunkSize);
    for (std::uint8_t tag = kTagMessage; tag != kTagFinal;) {
        const std::size_t read = Fill(input_, sealed);
        StopIfAsked(progress);
        const std::optional<std::size_t> length =
            stream_->Pull(std::span(sealed).first(read), plain.Bytes(), tag);
        if (!length) return result_;
        output.Write(plain.Bytes().first(*length));
        Advance(progress, *length);
    }
    std::uint8_t after = 0;
    if (Fill(input_, std::span(&after, 1)) == 0) result_ = SealedResult::Opened;
    return result_;
}

}  // namespace core
