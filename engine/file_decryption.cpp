#include "engine/file_decryption.h"

#include "core/container/sealed_file.h"
#include "core/container/zte_header.h"
#include "engine/engine_ids.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/handle_stream.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/wide_text.h"

using trace::CTraceScope;
using trace::Trace;

CFileDecryption::CFileDecryption(IRunObserver& observer, std::span<const BYTE> secret)
    : CEncryptionDecryption(observer, secret, IDS_PROGRESS_DECRYPT) {}

std::optional<FileOutcome> CFileDecryption::CheckInputFile() {
    CTraceScope scope("CFileDecryption::CheckInputFile");
    // Read through a link, if it is one: decrypting what it leads to loses nothing. Held
    // for its deletion too, which a read-only folder or another program may refuse: the
    // report says why.
    const HRESULT held = HoldInput(GENERIC_READ | DELETE | FILE_WRITE_ATTRIBUTES);
    if (FAILED(held)) {
        observer_.AddEntry(IDS_CANNOT_OPEN, file_.inputPath, held);
        return FileOutcome::Skipped();
    }
    const HRESULT hr = ReadFileHeader();
    if (FAILED(hr)) return FileOutcome::Failed(hr);
    if (hr == S_FALSE) return FileOutcome::Skipped();
    return std::nullopt;
}

HRESULT CFileDecryption::ReadFileHeader() {
    CTraceScope scope("CFileDecryption::ReadFileHeader");
    sealed_.reset();
    sealedInput_.reset();
    sealedRefused_ = false;
    return Guarded(scope, [&]() -> HRESULT {
        return FormatOfInput() == core::FileFormat::Sealed ? OpenSealedFile() : ReadZteHeader();
    });
}

HRESULT CFileDecryption::ReadZteHeader() {
    CTraceScope scope("CFileDecryption::ReadZteHeader");
    CHandleSource source(file_.input.get());
    const core::ParsedHeader parsed =
        Reported(IDS_CANNOT_READ, file_.inputPath, [&] { return core::ParseHeader(source); });
    Trace(scope, 0, "Header size = %d, blocks = %d", parsed.headerSize,
          static_cast<int>(parsed.blocks.size()));
    // A stored name the container refuses is never joined to a folder.
    const std::optional<core::AcceptedHeader> accepted = core::JudgeHeader(parsed).header;
    if (!accepted) return S_FALSE;
    headerSize_ = accepted->headerSize;
    storedChecksum_ = accepted->checksum;
    currentCipher_ = accepted->useCompatibilityKey ? &keys_.CompatibilityCipher() : &keys_.PrimaryCipher();
    file_.outputPath = FolderOf(file_.inputPath) + ToWide(accepted->fileName);
    Trace(scope, 0, "FileName = %ls", file_.outputPath.c_str());
    return S_OK;
}

// The output's name comes only from a name message that opened under the user's secret: one
// that did not is never joined to a folder, nor one the reader refuses as a name.
HRESULT CFileDecryption::OpenSealedFile() {
    CTraceScope scope("CFileDecryption::OpenSealedFile");
    sealedInput_ = std::make_unique<ReportedFile>(*this, file_.input.get(), IDS_CANNOT_READ, file_.inputPath);
    sealed_ = std::make_unique<core::SealedFileReader>(keys_.Secret(), *sealedInput_);
    switch (sealed_->Result()) {
        case core::SealedResult::Opened:
            file_.outputPath = FolderOf(file_.inputPath) + ToWide(sealed_->StoredName());
            Trace(scope, 0, "FileName = %ls", file_.outputPath.c_str());
            return S_OK;
        case core::SealedResult::Damaged:
        case core::SealedResult::UnknownVersion:
            RefuseSealedFile();
        case core::SealedResult::NotSealed:
        case core::SealedResult::NameRefused:
            break;
    }
    return S_FALSE;
}

bool CFileDecryption::CreateOutFileName() {
    CTraceScope scope("CFileDecryption::CreateOutFileName");
    return MayWriteOutput(true);
}

// The plain file is on disk under its name before the encrypted one goes.
void CFileDecryption::WriteOutput() {
    // The file key goes with the reader, whatever happens.
    const std::unique_ptr<core::SealedFileReader> sealed = std::move(sealed_);
    const std::unique_ptr<ReportedFile> sealedInput = std::move(sealedInput_);
    if (file_.finishedOutput) return RepairFinishedOutput();
    bool createdWithSecurity = false;
    CreateOutput(createdWithSecurity);
    if (sealed)
        DecryptSealedContent(*sealed);
    else
        DecryptZtePayload();
    Check(CopyFileAttributes(!createdWithSecurity));
}

void CFileDecryption::DecryptZtePayload() {
    LARGE_INTEGER offset{};
    offset.QuadPart = headerSize_;
    Require(::SetFilePointerEx(file_.input.get(), offset, nullptr, FILE_BEGIN), IDS_CANNOT_COPY_PROPERTIES,
            file_.inputPath);
    const std::uint64_t sum =
        TransferPayload(file_.input.get(), file_.newOutput->Handle(), *currentCipher_, false);
    if (sum != storedChecksum_) {
        observer_.AddEntry(IDS_WRONG_KEY, file_.inputPath, NTE_BAD_KEY);
        ThrowHr(NTE_BAD_KEY);
    }
}

// Every message goes to the output as it is read; only the last one tells whether the whole
// file is authentic, and until then the output stays hidden under its unfinished name.
void CFileDecryption::DecryptSealedContent(core::SealedFileReader& sealed) {
    ReportedFile output(*this, file_.newOutput->Handle(), IDS_CANNOT_WRITE, file_.outputPath);
    if (sealed.ReadContent(output, SealedProgressOfRun()) != core::SealedResult::Opened) RefuseSealedFile();
}

void CFileDecryption::RefuseSealedFile() {
    sealedRefused_ = true;
    observer_.AddEntry(IDS_SEALED_REFUSED, file_.inputPath, NTE_BAD_DATA);
    ThrowHr(NTE_BAD_DATA);
}

void CFileDecryption::ReadyInputForRemoval() {
    RequireUnchangedInput();
}

void CFileDecryption::RemoveInput() {
    // A link goes, not the encrypted file it leads to, which stays where it was.
    const DWORD attributes = ::GetFileAttributesW(LongPathForm(file_.inputPath).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return Require(::DeleteFileW(LongPathForm(file_.inputPath).c_str()), IDS_CANNOT_DELETE,
                       file_.inputPath);
    DeleteHeldInput();
}

void CFileDecryption::FileDone() {
    if (file_.recordItem) UpdateDecryptedItems(file_.outputPath, false);
}

std::u16string CFileDecryption::Summary() const {
    return SummaryOf(IDS_SUMMARY_DECRYPT);
}

HRESULT CFileDecryption::UpdateDecryptedItems(const std::wstring& path, bool isFolder) {
    return UpdateStore(true, path, isFolder);
}
