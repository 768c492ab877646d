#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/container/byte_stream.h"

// The sealed file (`ZTS2`), the second encrypted file format: a key of its own for every file,
// the stored name enciphered, and every byte authenticated, all through libsodium's
// secretstream. The byte layout is in docs/formats.md.
namespace core {

inline constexpr std::array<std::uint8_t, 4> kSealedMagic{'Z', 'T', 'S', '2'};
inline constexpr std::uint8_t kSealedVersion = 1;
inline constexpr std::size_t kSealedChunkSize = std::size_t{1} << 16;

using SealedSalt = std::array<std::uint8_t, 16>;

// Which format a file is in, told by its first 4 bytes; fewer are neither.
enum class FileFormat { NotEncrypted, Zte, Sealed };
FileFormat FormatOf(std::span<const std::uint8_t> start);

// A salt from the system's random source; every file gets its own.
SealedSalt NewSealedSalt();

// How a long file keeps its user informed and lets itself be stopped, one chunk at a time.
struct SealedProgress {
    // Asked before every chunk is written, once it has been read; throws whatever ends the file
    // early. None: it runs to the end.
    std::function<void()> stopIfAsked;
    // Told of the plain length of every chunk once it is written.
    std::function<void(std::size_t)> advance;
};

// Writes the whole sealed file for the rest of content. Throws std::invalid_argument when the
// secret is not 16 to 64 bytes long or the name is not one a reader accepts (a file that could
// never be decrypted again); failures of content and output pass through.
void WriteSealedFile(std::span<const std::uint8_t> secret, std::string_view storedName,
                     const SealedSalt& salt, ByteSource& content, ByteSink& output,
                     const SealedProgress& progress = {});

// The plain length of content whose messages take this many bytes of a sealed file, as their
// lengths tell it: what a reader's progress counts in the end, for a total shown before it starts.
std::uint64_t SealedContentSize(std::uint64_t messageBytes);

// Damaged stands for damaged, altered and sealed with another secret alike: an authenticated
// cipher cannot tell these apart.
enum class SealedResult { Opened, NotSealed, UnknownVersion, Damaged, NameRefused };

// The file key and the stream's state.
struct SealedStream;

// Reads a sealed file in two steps, so that the caller learns the stored name before it
// chooses where the content goes.
class SealedFileReader {
public:
    // Reads the header and the name; failures of input pass through. Throws
    // std::invalid_argument when the secret is not 16 to 64 bytes long.
    SealedFileReader(std::span<const std::uint8_t> secret, ByteSource& input);
    ~SealedFileReader();
    SealedFileReader(const SealedFileReader&) = delete;
    SealedFileReader& operator=(const SealedFileReader&) = delete;

    // Opened once the name is authentic and a safe stored name.
    SealedResult Result() const { return result_; }
    // As deciphered, also when refused as a name; empty when not deciphered.
    const std::u16string& StoredName() const { return storedName_; }

    // Deciphers the content into output, once: Opened only when every message was authentic,
    // the last one final and nothing follows it. Refused, what was written is not the file's
    // content: the output must be discarded. Without an opened name nothing is read and the
    // reader's result is returned as it is.
    SealedResult ReadContent(ByteSink& output, const SealedProgress& progress = {});

private:
    SealedResult OpenName(std::span<const std::uint8_t> secret, std::span<const std::uint8_t> header);

    std::unique_ptr<SealedStream> stream_;
    ByteSource& input_;
    SealedResult result_ = SealedResult::NotSealed;
    std::u16string storedName_;
};

}  // namespace core
