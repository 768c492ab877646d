#include "operations.h"

#include <array>
#include <cstdio>
#include <functional>

#include "core/container/payload.h"
#include "core/container/payload_transfer.h"
#include "core/container/sealed_file.h"
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

// Where an interrupt ends the file in hand: before the next piece is read or written.
void StopIfInterrupted() {
    if (Interrupted()) throw Interruption{};
}

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
                                  .stopIfAsked = StopIfInterrupted,
                                  .advance = [&progress](std::size_t length) { progress.Advance(length); }});
}

// The same for a sealed file, one chunk at a time.
core::SealedProgress SealedProgressOf(Progress& progress) {
    return {.stopIfAsked = StopIfInterrupted,
            .advance = [&progress](std::size_t length) { progress.Advance(length); }};
}

// Which format the file is in, told by its first bytes; it is read again from its start.
core::FileFormat FormatOfFile(InputFile& input) {
    std::array<std::uint8_t, 4> start{};
    const std::size_t got = input.Read(start);
    input.Seek(0);
    return core::FormatOf(std::span(start).first(got));
}

std::string ShownName(std::u16string_view storedName) {
    return core::EscapedPath(core::Utf16ToUtf8(storedName));
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
        return Outcome{Result::NameRefused, texts::StoredNameIs(ShownName(judgement.storedName))};
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

// What a sealed file's reader said, as an outcome: Done when it opened.
Outcome SealedOutcome(core::SealedResult result, std::u16string_view storedName) {
    switch (result) {
        case core::SealedResult::Opened:
            return {Result::Done};
        case core::SealedResult::NotSealed:
            return {Result::NotEncrypted};
        case core::SealedResult::NameRefused:
            return {Result::NameRefused, texts::StoredNameIs(ShownName(storedName))};
        case core::SealedResult::UnknownVersion:
            return {Result::Altered, texts::SealedVersionUnknown()};
        default:
            return {Result::Altered};
    }
}

// The plain content of a first-format payload, deciphered and summed as it is read.
class DecipheredPayload final : public core::ByteSource {
public:
    DecipheredPayload(InputFile& input, const core::ChunkCipher& cipher) : input_(input), cipher_(cipher) {}

    std::size_t Read(std::span<std::uint8_t> buffer) override {
        const std::size_t got = input_.Read(buffer);
        sum_ = cipher_.Decipher(buffer.first(got), position_, sum_);
        position_ += got;
        return got;
    }
    std::uint64_t Position() override { return position_; }
    std::uint64_t Sum() const { return sum_; }

private:
    InputFile& input_;
    const core::ChunkCipher& cipher_;
    std::uint64_t position_ = 0;
    std::uint64_t sum_ = 0;
};

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
        text += texts::InfoLine(Field::StoredName, ShownName(core::StoredNameFromUtf8(*name)));
    if (!header.judgement.header) return text;
    const core::AcceptedHeader& accepted = *header.judgement.header;
    text += texts::InfoLine(Field::EncryptionType, EncryptionTypeOf(header));
    if (header.fileSize >= accepted.headerSize)
        text += texts::InfoLine(Field::PayloadSize, texts::Bytes(header.fileSize - accepted.headerSize));
    return text + texts::InfoLine(Field::Checksum, ChecksumOf(accepted.checksum));
}

// Writes the plain file for target through fill, which returns the refusal that discards what it
// wrote, or nothing; the plain file then waits for its batch to put it in place.
using Fill = std::function<std::optional<Outcome>(NewFile& output)>;
Step Restore(std::unique_ptr<InputFile> input, const Path& path, const Path& target, bool keep,
             const Fill& fill) {
    if (KindOf(target, false) != Kind::Missing) return Outcome{Result::OutputExists, Shown(target)};
    // The plain file exists under its own name only once it is complete, flushed and checked.
    std::unique_ptr<NewFile> output = CreateBeside(target, path);
    if (std::optional<Outcome> refusal = fill(*output)) return *refusal;
    return Waiting(std::move(input), std::move(output), path, target,
                   keep ? SourceFate::Kept : SourceFate::Removed);
}

Step DecryptZte(std::unique_ptr<InputFile> input, const Path& path, Keys& keys, bool keep) {
    InputFile& file = *input;
    const Header header = ReadHeader(file);
    if (auto refusal = Refusal(header)) return *refusal;
    const Path target = path.parent_path() / PathOf(header.judgement.header->fileName);
    return Restore(std::move(input), path, target, keep, [&](NewFile& output) -> std::optional<Outcome> {
        if (Decipher(file, header, &output, keys, path)) return std::nullopt;
        return Outcome{Result::WrongPasswordOrDamaged};
    });
}

// Only content that opened whole, its final message last, is put in place.
Step DecryptSealed(std::unique_ptr<InputFile> input, const Path& path, Keys& keys, bool keep) {
    InputFile& file = *input;
    core::SealedFileReader reader(keys.secret, file);
    if (reader.Result() != core::SealedResult::Opened)
        return SealedOutcome(reader.Result(), reader.StoredName());
    const Path target = path.parent_path() / PathOf(reader.StoredName());
    return Restore(std::move(input), path, target, keep, [&](NewFile& output) -> std::optional<Outcome> {
        Progress progress(Shown(path), core::SealedContentSize(file.Size() - file.Position()));
        const core::SealedResult result = reader.ReadContent(output, SealedProgressOf(progress));
        if (result == core::SealedResult::Opened) return std::nullopt;
        return SealedOutcome(result, {});
    });
}

void WriteZte(InputFile& input, NewFile& output, const std::string& name, const Keys& keys,
              Progress& progress) {
    const core::StandardHeader header = core::BuildStandardHeader(
        std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size()), core::kPrimaryKeyType);
    output.Write(header.bytes);
    const std::uint64_t sum = TransferPayload(input, &output, keys.primary, true, progress);
    output.WriteAt(header.checksumOffset, core::EncodeChecksum(sum));
}

Outcome ShowSealedInfo(InputFile& input, const Path& path, Keys* keys) {
    using texts::Field;
    std::string text = Shown(path) + '\n';
    text += texts::InfoLine(Field::Magic, texts::SealedMagic());
    text += texts::InfoLine(Field::FileSize, texts::Bytes(input.Size()));
    Outcome outcome{Result::Done};
    if (keys) {
        core::SealedFileReader reader(keys->secret, input);
        if (!reader.StoredName().empty())
            text += texts::InfoLine(Field::StoredName, ShownName(reader.StoredName()));
        outcome = SealedOutcome(reader.Result(), reader.StoredName());
        if (outcome.result == Result::Done) {
            core::DiscardingSink content;
            Progress progress(Shown(path), core::SealedContentSize(input.Size() - input.Position()));
            outcome = SealedOutcome(reader.ReadContent(content, SealedProgressOf(progress)), {});
        }
        text += texts::InfoLine(Field::Check, outcome.result == Result::Done
                                                  ? texts::SealedOpens()
                                                  : texts::SealedRefused(texts::ResultName(outcome.result)));
    }
    Write(Stream::Out, text);
    return outcome;
}

}  // namespace

Keys::Keys(const core::Password& password)
    : secret(password.Secret()),
      primary(core::ChunkCipherOf(core::PayloadKey(secret, false))),
      compatibility(core::ChunkCipherOf(core::PayloadKey(secret, true))) {}

Keys::~Keys() {
    core::SecureZero(secret);
}

Step DecryptFile(const Path& path, Keys& keys, bool keep) {
    std::unique_ptr<InputFile> input = OpenInput(path);
    return FormatOfFile(*input) == core::FileFormat::Sealed
               ? DecryptSealed(std::move(input), path, keys, keep)
               : DecryptZte(std::move(input), path, keys, keep);
}

Step EncryptFile(const Path& path, Keys& keys, bool wipe, Format format) {
    std::unique_ptr<InputFile> input = OpenInput(path);
    if (FormatOfFile(*input) != core::FileFormat::NotEncrypted) return Outcome{Result::AlreadyEncrypted};
    if (wipe && input->Names() > 1) return Outcome{Result::SeveralNames};
    const std::string name = Utf8Of(path.filename());
    if (!core::IsWritableStoredName(name))
        return Outcome{Result::NameRefused, texts::StoredNameIs(core::EscapedPath(name))};
    Path target = path;
    target += ".zte";
    if (KindOf(target, false) != Kind::Missing) return Outcome{Result::OutputExists, Shown(target)};

    std::unique_ptr<NewFile> output = CreateBeside(target, path);
    {
        Progress progress(Shown(path), input->Size());
        if (format == Format::Sealed)
            core::WriteSealedFile(keys.secret, name, core::NewSealedSalt(), *input, *output,
                                  SealedProgressOf(progress));
        else
            WriteZte(*input, *output, name, keys, progress);
    }
    return Waiting(std::move(input), std::move(output), path, target,
                   wipe ? SourceFate::Wiped : SourceFate::Kept);
}

Outcome UpgradeFile(const Path& path, Keys& keys) {
    std::unique_ptr<InputFile> input = OpenInput(path);
    if (FormatOfFile(*input) == core::FileFormat::Sealed) return {Result::AlreadySealed};
    const Header header = ReadHeader(*input);
    if (auto refusal = Refusal(header)) return *refusal;
    const core::AcceptedHeader& accepted = *header.judgement.header;
    // A name a reader accepted is safe, and decoded from UTF-8: a writer may store it again.
    const std::string name = core::Utf16ToUtf8(accepted.fileName);

    // The old file keeps its name until the sealed one, complete, checked and flushed, replaces
    // it in one step; a refusal or an interrupt before that only removes the new one.
    const std::unique_ptr<NewFile> output = CreateReplacement(path);
    input->Seek(accepted.headerSize);
    DecipheredPayload payload(*input, accepted.useCompatibilityKey ? keys.compatibility : keys.primary);
    {
        Progress progress(Shown(path), header.fileSize - accepted.headerSize);
        core::WriteSealedFile(keys.secret, name, core::NewSealedSalt(), payload, *output,
                              SealedProgressOf(progress));
    }
    if (payload.Sum() != accepted.checksum) return {Result::WrongPasswordOrDamaged};
    // Windows replaces no file that is still open.
    input.reset();
    output->Commit();
    return {Result::Done, texts::Sealed(Shown(path))};
}

Outcome ShowInfo(const Path& path, Keys* keys) {
    std::unique_ptr<InputFile> input = OpenInput(path);
    if (FormatOfFile(*input) == core::FileFormat::Sealed) return ShowSealedInfo(*input, path, keys);
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
