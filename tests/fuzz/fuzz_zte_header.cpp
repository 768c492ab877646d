// Arbitrary bytes through the header reader. Whatever it accepts must survive being written
// again, both as the blocks it read and as a standard header built from what it accepted,
// and the reasons given for a refusal must agree with the acceptance; any difference aborts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/container/memory_stream.h"
#include "core/container/stored_name.h"
#include "core/container/zte_header.h"
#include "core/text/utf8.h"

namespace {

using Blocks = decltype(core::ParsedHeader::blocks);

void Require(bool holds) {
    if (!holds) std::abort();
}

// Nothing when the blocks no longer fit the 16-bit header size, which an accepted header can
// only reach when the end of the file cut a long block short.
std::optional<core::ParsedHeader> Rewritten(const Blocks& blocks) {
    std::vector<core::BlockView> views;
    for (const auto& [type, data] : blocks) views.push_back({type, data});
    std::uint16_t headerSize = 0;
    try {
        headerSize = core::HeaderSizeOf(views);
    } catch (const std::length_error&) {
        return std::nullopt;
    }
    core::MemorySink sink;
    core::WriteHeader(sink, headerSize, views);
    core::MemorySource source(sink.Bytes());
    return core::ParseHeader(source);
}

void RequireRoundTrip(const Blocks& blocks, core::AcceptedHeader expected) {
    const std::optional<core::ParsedHeader> reread = Rewritten(blocks);
    if (!reread) return;
    Require(reread->result == core::ReadResult::Ok && reread->blocks == blocks);
    expected.headerSize = reread->headerSize;
    Require(core::AcceptHeader(*reread) == expected);
}

std::vector<std::uint8_t> BytesOf(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

Blocks StandardBlocks(const core::AcceptedHeader& header) {
    const std::string name = core::Utf16ToUtf8(header.fileName);
    const std::uint8_t encryptionType = header.useCompatibilityKey ? 2 : core::kPrimaryKeyType;
    return {{core::kChecksumBlock, BytesOf(core::EncodeChecksum(header.checksum))},
            {core::kFileNameBlock, {name.begin(), name.end()}},
            {core::kEncryptionTypeBlock, {encryptionType}}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    core::MemorySource source(file);
    const core::ParsedHeader parsed = core::ParseHeader(source);
    const bool hasMagic =
        size >= core::kMagic.size() && std::equal(core::kMagic.begin(), core::kMagic.end(), data);
    Require((parsed.result != core::ReadResult::NotEncrypted) == hasMagic);

    const std::optional<core::AcceptedHeader> accepted = core::AcceptHeader(parsed);
    const core::HeaderJudgement judgement = core::JudgeHeader(parsed);
    Require(judgement.header == accepted &&
            (judgement.verdict == core::HeaderVerdict::Accepted) == !!accepted);
    if (!accepted) return 0;
    // Every name a reader accepts is one a writer may store again.
    Require(core::IsWritableStoredName(core::Utf16ToUtf8(accepted->fileName)));
    RequireRoundTrip(parsed.blocks, *accepted);
    RequireRoundTrip(StandardBlocks(*accepted), *accepted);
    return 0;
}
