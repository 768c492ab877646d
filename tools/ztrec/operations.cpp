#include "operations.h"

#include <cstdio>

#include "core/container/payload.h"
#include "core/container/payload_transfer.h"
#include "core/container/stored_name.h"
#include "core/container/zte_header.h"
#include "core/crypto/file_key.h"
#include "core/crypto/secure_bytes.h"
#include "core/text/escaped_text.h"
#include "core/text/utf8.h"
#include "progress.h"
#include "texts.h"

namespace ztrec {
namespace {

// Runs the rest of the input through the cipher into output (none: only summed), and
// returns the sum of the plain bytes. An interrupt stops it before any read.
std::uint64_t TransferPayload(InputFile& input, NewFile* output, const core::ChunkCipher& cipher,
                              bool encipher, Progress& progress) {
    return core::TransferPayload(input, output,
                                 {.cipher = cipher,
                                  .encipher = encipher,
                                  .bufferSize = core::kPayloadPieceSize,
                                  .alignedFrom = std::nullopt,
                                  .stopPoint = core::StopPoint::BeforeEveryRead,
                                  .stopIfAsked =
                                      [] {
                                          if (Interrupted()) throw Interruption{};
                                      },
                                  .advance = [&progress](std::size_t length) { progress.Advance(length); }});
}

// A header read and judged, with the file's size: a writer always writes the whole header,
// so a file that ends inside it was cut short, whatever the blocks read as.
struct Header {
    core::ParsedHeader parsed;
    core::HeaderJudgement judgement;
    std::uint64_t fileSize = 0;
};

Header ReadHeader(InputFile& input) {
    Header header{core::ParseHeader(input), {}, input.Size()};
    header.judgement = core::JudgeHeader(header.parsed);
    return header;
}

// Why this header is not one to decipher, or nothing when it is.
std::optional<Outcome> Refusal(const Header& header) {
    const core::HeaderJudgement& judgement = header.judgement;
    if (judgement.verdict == core::HeaderVerdict::NotEncrypted) return Outcome{Result::NotEncrypted};
    if (header.fileSize < header.parsed.headerSize)
        return Outcome{Result::Damaged, texts::EndsInsideHeader(header.fileSize, header.parsed.headerSize)};
    if (judgement.verdict == core::HeaderVerdict::Damaged)
        return Outcome{Result::Damaged, texts::HeaderUnreadable()};
    if (judgement.verdict == core::HeaderVerdict::NameRefused)
        return Outcome{Result::NameRefused,
                       texts::StoredNameIs(core::EscapedPath(core::Utf16ToUtf8(judgement.storedName)))};
    return std::nullopt;
}

// Deciphers the payload of an accepted header; true when it sums to the stored checksum.
bool Decipher(InputFile& input, const Header& header, NewFile* output, Keys& keys, const Path& path) {
    const core::AcceptedHeader& accepted = *header.judgement.header;
    input.Seek(accepted.headerSize);
    Progress progress(Shown(path), header.fileSize - accepted.headerSize);
    const core::ChunkCipher& cipher = accepted.useCompatibilityKey ? keys.compatibility : keys.primary;
    return TransferPayload(input, output, cipher, false, progress) == accepted.checksum;
}

std::string BlockList(const core::ParsedHeader& parsed) {
    std::string list;
    for (const auto& [type, data] : parsed.blocks) {
        if (!list.empty()) list += ", ";
        list += std::to_string(type) + ' ' + texts::BlockName(type) + " (" + texts::Bytes(data.size()) + ')';
    }
    return list;
}

std::string EncryptionTypeOf(const Header& header) {
    const std::vector<std::uint8_t>* type = header.parsed.Find(core::kEncryptionTypeBlock);
    const std::string value = type && type->size() == 1 ? std::to_string((*type)[0]) : "-";
    return texts::EncryptionType(value, header.judgement.header->useCompatibilityKey);
}

std::string ChecksumOf(std::uint64_t checksum) {
    char hex[24];
    std::snprintf(hex, sizeof hex, "0x%016llX", static_cast<unsigned long long>(checksum));
    return hex;
}

// What the header holds, as far as it could be read.
std::string Description(const Path& path, const Header& header) {
    using texts::Field;
    std::string text = Shown(path) + '\n';
    text += texts::InfoLine(Field::Magic, "ZTFE");
    text += texts::InfoLine(Field::HeaderSize, texts::Bytes(header.parsed.headerSize));
    text += texts::InfoLine(Field::Blocks, BlockList(header.parsed));
    if (const std::vector<std::uint8_t>* name = header.parsed.Find(core::kFileNameBlock))
        text += texts::InfoLine(Field::StoredName,
                                core::EscapedPath(core::Utf16ToUtf8(core::StoredNameFromUtf8(*name))));
    if (!header.judgement.header) return text;
    const core::AcceptedHeader& accepted = *header.judgement.header;
    text += texts::InfoLine(Field::EncryptionType, EncryptionTypeOf(header));
    if (header.fileSize >= accepted.headerSize)
        text += texts::InfoLine(Field::PayloadSize, texts::Bytes(header.fileSize - accepted.headerSize));
    return text + texts::InfoLine(Field::Checksum, ChecksumOf(accepted.checksum));
}

// Moves a finished file into place; false when something appeared there meanwhile, which
// stays as it is.
bool Placed(NewFile& output) {
    try {
        output.Commit();
        return true;
    } catch (const OutputTaken&) {
        return false;
    }
}

// The last step, with the new file in place: its source goes. When that fails, both stay.
Outcome SourceRemoved(const Path& source, const Path& target, void (*removal)(const Path&),
                      std::string (*unfinished)(std::string_view target, std::string_view why)) {
    try {
        removal(source);
    } catch (...) {
        return {Result::Incomplete, unfinished(Shown(target), DescribeFailure(std::current_exception()))};
    }
    return {Result::Done, Shown(target)};
}

}  // namespace

Keys KeysFor(const core::Password& password) {
    core::Md4Digest secret = password.Secret();
    Keys keys{core::ChunkCipherOf(core::PayloadKey(secret, false)),
              core::ChunkCipherOf(core::PayloadKey(secret, true))};
    core::SecureZero(secret);
    return keys;
}

Outcome DecryptFile(const Path& path, Keys& keys, bool keep) {
    std::unique_ptr<InputFile> input = OpenInput(path);
    const Header header = ReadHeader(*input);
    if (auto refusal = Refusal(header)) return *refusal;
    const Path target = path.parent_path() / PathOf(header.judgement.header->fileName);
    if (KindOf(target, false) != Kind::Missing) return {Result::OutputExists, Shown(target)};

    // The plain file exists under its own name only once it is complete, flushed and checked.
    {
        const std::unique_ptr<NewFile> output = CreateBeside(target, path);
        if (!Decipher(*input, header, output.get(), keys, path)) return {Result::WrongPasswordOrDamaged};
        if (!Placed(*output)) return {Result::OutputExists, Shown(target)};
    }
    input.reset();
    return keep ? Outcome{Result::Done, Shown(target)}
                : SourceRemoved(path, target, Remove, texts::NotRemoved);
}

Outcome EncryptFile(const Path& path, Keys& keys, bool wipe) {
    std::unique_ptr<InputFile> input = OpenInput(path);
    if (core::ReadMagic(*input) == core::ReadResult::Ok) return {Result::AlreadyEncrypted};
    if (wipe && input->Names() > 1) return {Result::SeveralNames};
    const std::string name = Utf8Of(path.filename());
    if (!core::IsWritableStoredName(name))
        return {Result::NameRefused, texts::StoredNameIs(core::EscapedPath(name))};
    Path target = path;
    target += ".zte";
    if (KindOf(target, false) != Kind::Missing) return {Result::OutputExists, Shown(target)};

    input->Seek(0);
    {
        const std::unique_ptr<NewFile> output = CreateBeside(target, path);
        const core::StandardHeader header = core::BuildStandardHeader(
            std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size()),
            core::kPrimaryKeyType);
        output->Write(header.bytes);
        Progress progress(Shown(path), input->Size());
        const std::uint64_t sum = TransferPayload(*input, output.get(), keys.primary, true, progress);
        output->WriteAt(header.checksumOffset, core::EncodeChecksum(sum));
        if (!Placed(*output)) return {Result::OutputExists, Shown(target)};
    }
    input.reset();
    return wipe ? SourceRemoved(path, target, WipeAndRemove, texts::NotWiped)
                : Outcome{Result::Done, Shown(target)};
}

Outcome ShowInfo(const Path& path, Keys* keys) {
    std::unique_ptr<InputFile> input = OpenInput(path);
    const Header header = ReadHeader(*input);
    if (header.judgement.verdict == core::HeaderVerdict::NotEncrypted) return {Result::NotEncrypted};
    std::string text = Description(path, header);
    Outcome outcome = Refusal(header).value_or(Outcome{Result::Done});
    if (outcome.result == Result::Done && keys) {
        const bool matches = Decipher(*input, header, nullptr, *keys, path);
        text += texts::InfoLine(texts::Field::Check,
                                matches ? texts::ChecksumMatches() : texts::ChecksumDiffers());
        if (!matches) outcome = {Result::WrongPasswordOrDamaged};
    }
    Write(Stream::Out, text);
    return outcome;
}

}  // namespace ztrec
