#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/container/byte_stream.h"

// The byte layout of the encrypted file's header: magic, header size, typed blocks, terminator.
namespace core {

inline constexpr std::array<std::uint8_t, 4> kMagic{'Z', 'T', 'F', 'E'};

enum BlockType : std::uint16_t {
    kTerminator = 0,
    kChecksumBlock = 1,
    kFileNameBlock = 2,
    kEncryptionTypeBlock = 3,
};

inline constexpr std::uint8_t kPrimaryKeyType = 1;

// One block as the codec sees it; the data is owned by the caller.
struct BlockView {
    std::uint16_t type;
    std::span<const std::uint8_t> data;
};

enum class ReadResult { Ok, NotEncrypted, NotAccepted };

// Reads the 4 magic bytes at the current position: Ok when they match, NotEncrypted when
// they differ or fewer than 4 could be read.
ReadResult ReadMagic(ByteSource& source);

// Header size for these blocks: 8 (magic, size field, terminator) plus, for each block,
// its length + 4 (a type-0 block counts 2). Throws std::length_error when that exceeds the
// 16-bit size field; WriteHeader and BlockOffsetOf do the same for a field that does not fit.
std::uint16_t HeaderSizeOf(std::span<const BlockView> blocks);

// File offset of the type field of the block of that type, walking blocks in the given
// order from offset 6; 0 when absent.
std::uint16_t BlockOffsetOf(std::span<const BlockView> blocks, std::uint16_t type);

// Writes magic, the given header size, every block (type, and unless 0 its length and
// data) and the terminator.
void WriteHeader(ByteSink& sink, std::uint16_t headerSize, std::span<const BlockView> blocks);

// The checksum block's data: low 32 bits then high 32 bits, little-endian.
std::array<std::uint8_t, 8> EncodeChecksum(std::uint64_t sum);
std::uint64_t DecodeChecksum(std::span<const std::uint8_t, 8> data);

// What a decrypting reader needs from an accepted header.
struct AcceptedHeader {
    std::uint16_t headerSize = 0;
    std::uint64_t checksum = 0;
    std::u16string fileName;
    bool useCompatibilityKey = false;
    bool operator==(const AcceptedHeader&) const = default;
};

// A header read into blocks: magic, header size, then blocks until the terminator, the first
// block of each type kept. A field cut off by the end of the file reads as zero, so a header
// cut at a block boundary ends there. Ok once the terminator is read within the header size;
// NotAccepted when a block runs past it. A failure of the source passes through.
struct ParsedHeader {
    ReadResult result = ReadResult::NotEncrypted;
    std::uint16_t headerSize = 0;
    std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>> blocks;  // ascending type
    const std::vector<std::uint8_t>* Find(std::uint16_t type) const;
};
ParsedHeader ParseHeader(ByteSource& source);

// The decrypting reader's acceptance rules over a parsed header (JudgeHeader(header).header):
// an 8-byte checksum block, a file name that is a safe single path component, and block 3
// selecting the compatibility key only when it holds one byte other than 1.
std::optional<AcceptedHeader> AcceptHeader(const ParsedHeader& header);

// The same rules with the reason a header is turned down, for a reader that tells its user:
// Damaged when the blocks run past the header size, the checksum block is missing or of the
// wrong length or the name block is missing or empty; NameRefused when the stored name is
// not a safe single path component.
enum class HeaderVerdict { Accepted, NotEncrypted, Damaged, NameRefused };
struct HeaderJudgement {
    HeaderVerdict verdict = HeaderVerdict::NotEncrypted;
    std::optional<AcceptedHeader> header;  // set when Accepted
    std::u16string storedName;             // as decoded, also when refused
};
HeaderJudgement JudgeHeader(const ParsedHeader& header);

// The header a writer puts before the payload: checksum block (zero until the payload's sum
// is patched in at checksumOffset), file name block with the name's bytes, encryption type.
struct StandardHeader {
    std::vector<std::uint8_t> bytes;
    std::uint16_t checksumOffset = 0;
};
StandardHeader BuildStandardHeader(std::span<const std::uint8_t> fileName, std::uint8_t encryptionType);

}  // namespace core
