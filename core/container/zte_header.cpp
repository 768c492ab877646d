#include "core/container/zte_header.h"

#include <algorithm>
#include <stdexcept>

#include "core/container/memory_stream.h"
#include "core/container/stored_name.h"

namespace core {
namespace {

constexpr std::size_t kFirstBlockOffset = 6;  // past the magic and the header size
constexpr std::size_t kFixedHeaderBytes = 8;  // magic, header size, terminator

struct Block {
    std::uint16_t type;
    std::vector<std::uint8_t> data;
};

// Called once per field, as the platform reader calls ReadFile: whatever the end of the file
// cut off stays zero, which is how a header cut at a block boundary reads as terminated.
std::uint16_t ReadU16(ByteSource& source) {
    std::array<std::uint8_t, 2> bytes{};
    source.Read(bytes);
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

Block ReadBlock(ByteSource& source) {
    Block block{ReadU16(source), {}};
    if (block.type != kTerminator) {
        block.data.resize(ReadU16(source));
        source.Read(block.data);
    }
    return block;
}

// A silently truncated size or length would produce a file that no reader accepts.
std::uint16_t Checked16(std::size_t value) {
    if (value > 0xFFFF) throw std::length_error("header field does not fit 16 bits");
    return static_cast<std::uint16_t>(value);
}

void WriteU16(ByteSink& sink, std::uint16_t value) {
    const std::array<std::uint8_t, 2> bytes{static_cast<std::uint8_t>(value),
                                            static_cast<std::uint8_t>(value >> 8)};
    sink.Write(bytes);
}

void WriteBlock(ByteSink& sink, const BlockView& block) {
    WriteU16(sink, block.type);
    if (block.type == kTerminator) return;
    WriteU16(sink, Checked16(block.data.size()));
    sink.Write(block.data);
}

std::size_t EncodedSize(const BlockView& block) {
    return block.type == kTerminator ? 2 : 4 + block.data.size();
}

template <class Blocks>
auto LowerBound(Blocks& blocks, std::uint16_t type) {
    return std::lower_bound(blocks.begin(), blocks.end(), type,
                            [](const auto& block, std::uint16_t wanted) { return block.first < wanted; });
}

// The first block of a type stays; a later one of the same type is read past.
void Keep(ParsedHeader& parsed, Block&& block) {
    const auto at = LowerBound(parsed.blocks, block.type);
    if (at == parsed.blocks.end() || at->first != block.type)
        parsed.blocks.emplace(at, block.type, std::move(block.data));
}

// Block 3 selects the compatibility key only when it holds one byte other than 1.
bool UsesCompatibilityKey(const ParsedHeader& header) {
    const std::vector<std::uint8_t>* type = header.Find(kEncryptionTypeBlock);
    return type && type->size() == 1 && (*type)[0] != kPrimaryKeyType;
}

}  // namespace

ReadResult ReadMagic(ByteSource& source) {
    std::array<std::uint8_t, 4> bytes{};
    const bool matches = source.Read(bytes) == bytes.size() && bytes == kMagic;
    return matches ? ReadResult::Ok : ReadResult::NotEncrypted;
}

std::uint16_t HeaderSizeOf(std::span<const BlockView> blocks) {
    std::size_t size = kFixedHeaderBytes;
    for (const BlockView& block : blocks) size += EncodedSize(block);
    return Checked16(size);
}

std::uint16_t BlockOffsetOf(std::span<const BlockView> blocks, std::uint16_t type) {
    std::size_t offset = kFirstBlockOffset;
    for (const BlockView& block : blocks) {
        if (block.type == type) return Checked16(offset);
        offset += EncodedSize(block);
    }
    return 0;
}

void WriteHeader(ByteSink& sink, std::uint16_t headerSize, std::span<const BlockView> blocks) {
    sink.Write(kMagic);
    WriteU16(sink, headerSize);
    for (const BlockView& block : blocks) WriteBlock(sink, block);
    WriteU16(sink, kTerminator);
}

std::array<std::uint8_t, 8> EncodeChecksum(std::uint64_t sum) {
    std::array<std::uint8_t, 8> data{};
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(sum >> (8 * i));
    return data;
}

std::uint64_t DecodeChecksum(std::span<const std::uint8_t, 8> data) {
    std::uint64_t sum = 0;
    for (std::size_t i = data.size(); i-- > 0;) sum = sum << 8 | data[i];
    return sum;
}

const std::vector<std::uint8_t>* ParsedHeader::Find(std::uint16_t type) const {
    const auto found = LowerBound(blocks, type);
    return found != blocks.end() && found->first == type ? &found->second : nullptr;
}

ParsedHeader ParseHeader(ByteSource& source) {
    ParsedHeader parsed;
    parsed.result = ReadMagic(source);
    if (parsed.result != ReadResult::Ok) return parsed;
    parsed.headerSize = ReadU16(source);
    // The real position counts: a block whose data the end of the file cut short has not
    // run past the header size, however long it claims to be.
    for (Block block = ReadBlock(source); block.type != kTerminator;) {
        Keep(parsed, std::move(block));
        block = ReadBlock(source);
        if (source.Position() > parsed.headerSize) {
            parsed.result = ReadResult::NotAccepted;
            break;
        }
    }
    return parsed;
}

std::optional<AcceptedHeader> AcceptHeader(const ParsedHeader& header) {
    return JudgeHeader(header).header;
}

HeaderJudgement JudgeHeader(const ParsedHeader& header) {
    if (header.result == ReadResult::NotEncrypted) return {};
    if (header.result == ReadResult::NotAccepted) return {HeaderVerdict::Damaged, std::nullopt, {}};
    HeaderJudgement judgement;
    const std::vector<std::uint8_t>* checksum = header.Find(kChecksumBlock);
    const std::vector<std::uint8_t>* name = header.Find(kFileNameBlock);
    if (name) judgement.storedName = StoredNameFromUtf8(*name);
    if (!checksum || checksum->size() != 8 || !name || name->empty()) {
        judgement.verdict = HeaderVerdict::Damaged;
    } else if (!IsSafeStoredName(judgement.storedName)) {
        judgement.verdict = HeaderVerdict::NameRefused;
    } else {
        judgement.verdict = HeaderVerdict::Accepted;
        judgement.header = AcceptedHeader{header.headerSize,
                                          DecodeChecksum(std::span<const std::uint8_t>(*checksum).first<8>()),
                                          judgement.storedName, UsesCompatibilityKey(header)};
    }
    return judgement;
}

StandardHeader BuildStandardHeader(std::span<const std::uint8_t> fileName, std::uint8_t encryptionType) {
    const std::array<std::uint8_t, 8> checksum{};
    const std::array<std::uint8_t, 1> type{encryptionType};
    const std::array<BlockView, 3> blocks{
        {{kChecksumBlock, checksum}, {kFileNameBlock, fileName}, {kEncryptionTypeBlock, type}}};
    MemorySink sink;
    WriteHeader(sink, HeaderSizeOf(blocks), blocks);
    return {std::move(sink.Bytes()), static_cast<std::uint16_t>(BlockOffsetOf(blocks, kChecksumBlock) + 4)};
}

}  // namespace core
