#include "engine/file_encryption.h"

#include "core/container/zte_header.h"
#include "core/text/utf8.h"
#include "engine/engine_ids.h"
#include "text/extension_filter.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/handle_stream.h"
#include "win/path_parts.h"
#include "win/unfinished_path.h"
#include "win/wide_text.h"

using trace::CTraceScope;
using trace::Trace;

CFileEncryption::CFileEncryption(IRunObserver& observer, std::span<const BYTE> secret,
                                 core::FileFormat format)
    : CEncryptionDecryption(observer, secret, IDS_PROGRESS_ENCRYPT), format_(format) {
    if (!LoadExtensionFilter(confirmationSet_)) AddDefaultExtensions(confirmationSet_);
}

bool CFileEncryption::Confirmed() {
    if (answer_ == kAnswerYesToAll) return true;
    if (!confirmationSet_.ContainsIgnoringCase(ExtensionOf(file_.inputPath))) return true;
    if (answer_ != kAnswerNoToAll) answer_ = observer_.Confirm(file_.inputPath);
    if (answer_ == kAnswerNo || answer_ == kAnswerNoToAll) {
        observer_.AddEntry(IDS_SKIPPED_BY_USER, file_.inputPath, S_OK);
        return false;
    }
    return true;
}

UINT CFileEncryption::SkipReason() const {
    // The name itself was opened, not what a link leads to.
    if (file_.inputIdentity.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return IDS_SKIPPED_LINK;
    if (file_.inputIdentity.links > 1) return IDS_SKIPPED_HARD_LINKS;
    if (!file_.input) return IDS_CANNOT_OPEN;
    return HoldsNamedStreams() ? IDS_SKIPPED_STREAMS : 0;
}

bool CFileEncryption::HoldsNamedStreams() const {
    return HasNamedStreams(file_.input.get());
}

std::optional<FileOutcome> CFileEncryption::CheckInputFile() {
    CTraceScope scope("CFileEncryption::CheckInputFile");
    std::optional<FileOutcome> ended;
    const HRESULT hr = Guarded(scope, [&] { ended = CheckPlainInput(); });
    if (FAILED(hr)) return FileOutcome::Failed(hr);
    return ended;
}

// An encrypted file, in either format, is left as it is, without a word.
std::optional<FileOutcome> CFileEncryption::CheckPlainInput() {
    HoldPlainInput();
    if (const UINT reason = SkipReason()) {
        observer_.AddEntry(reason, file_.inputPath, S_OK);
        return FileOutcome::Skipped();
    }
    if (!Confirmed()) return FileOutcome::Skipped();
    if (FormatOfInput() != core::FileFormat::NotEncrypted) return FileOutcome::Skipped();
    return std::nullopt;
}

bool CFileEncryption::CreateOutFileName() {
    CTraceScope scope("CFileEncryption::CreateOutFileName");
    file_.outputPath = file_.inputPath + L".zte";
    return MayWriteOutput(false);
}

HRESULT CFileEncryption::WriteFileHeader(HANDLE output) {
    CTraceScope scope("CFileEncryption::WriteFileHeader");
    Trace(scope, 0, "Input Filename: %ls", file_.inputPath.c_str());
    return Guarded(scope, [&] {
        const std::string name = core::Utf16ToUtf8(ToU16(FileNameOf(file_.inputPath)));
        const core::StandardHeader header = core::BuildStandardHeader(
            std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size()),
            core::kPrimaryKeyType);
        checksumOffset_ = header.checksumOffset;
        Reported(IDS_CANNOT_WRITE, file_.outputPath, [&] { WriteFully(output, header.bytes); });
    });
}

HRESULT CFileEncryption::WriteCheckSum(HANDLE output, std::uint64_t checksum) {
    CTraceScope scope("CFileEncryption::WriteCheckSum");
    return Guarded(scope, [&] {
        LARGE_INTEGER offset{};
        offset.QuadPart = checksumOffset_;
        Check(::SetFilePointerEx(output, offset, nullptr, FILE_BEGIN));
        Reported(IDS_CANNOT_WRITE, file_.outputPath,
                 [&] { WriteFully(output, core::EncodeChecksum(checksum)); });
    });
}

// The encrypted copy is flushed and in place under its name before the plain file is
// touched; from then on it stays whatever fails.
void CFileEncryption::WriteOutput() {
    if (file_.finishedOutput) return RepairFinishedOutput();
    bool createdWithSecurity = false;
    CreateOutput(createdWithSecurity);
    if (format_ == core::FileFormat::Sealed)
        WriteSealedOutput();
    else
        WriteZteOutput();
    Check(CopyFileAttributes(!createdWithSecurity));
    // The last moment a cancel keeps everything as it was: a wipe once begun is finished.
    StopIfCancelled();
}

void CFileEncryption::WriteZteOutput() {
    Check(WriteFileHeader(file_.newOutput->Handle()));
    const std::uint64_t sum =
        TransferPayload(file_.input.get(), file_.newOutput->Handle(), keys_.PrimaryCipher(), true);
    Check(WriteCheckSum(file_.newOutput->Handle(), sum));
}

// The name is stored as the first format stores it, and every file gets a salt, and so a
// key, of its own.
void CFileEncryption::WriteSealedOutput() {
    const std::string name = core::Utf16ToUtf8(ToU16(FileNameOf(file_.inputPath)));
    ReportedFile input(*this, file_.input.get(), IDS_CANNOT_READ, file_.inputPath);
    ReportedFile output(*this, file_.newOutput->Handle(), IDS_CANNOT_WRITE, file_.outputPath);
    core::WriteSealedFile(keys_.Secret(), name, core::NewSealedSalt(), input, output, SealedProgressOfRun());
}

// The plain file is wiped under an unfinished name: a run that dies during the wipe leaves
// no half-overwritten file under the name the user knows, only the encrypted copy and a
// hidden leftover that the next run removes. It is overwritten and deleted through the handle
// it was read through, which no link or other file put under its name can divert.
void CFileEncryption::ReadyInputForRemoval() {
    RequireUnchangedInput();
    file_.inputAside = SetInputAside();
    Reported(IDS_CANNOT_WRITE, file_.inputPath, [&] {
        try {
            file_.inputOverwritten = file_.inputIdentity.size > 0;
            WriteZerosOver(file_.input.get());
        } catch (const HResultError&) {
            KeepInputUnlessOverwritten();
            throw;
        }
    });
}

void CFileEncryption::RemoveInput() {
    try {
        Reported(IDS_CANNOT_DELETE, file_.inputPath,
                 [&] { RemoveHeld(file_.input.get(), file_.inputAside); });
    } catch (const HResultError&) {
        KeepInputUnlessOverwritten();
        throw;
    }
    file_.input.reset();
}

// Nothing overwritten: the plain file goes back to its name as it was, beside its encrypted
// copy. One that was stays hidden under its unfinished name, where the next run removes it.
void CFileEncryption::KeepInputUnlessOverwritten() {
    if (!file_.inputOverwritten) PutInputBack();
}

std::wstring CFileEncryption::SetInputAside() {
    std::wstring aside;
    try {
        aside = AtFirstFreeUnfinishedName(file_.inputPath, [&](const std::wstring& path) {
            RenameHeld(file_.input.get(), path);
            return path;
        });
    } catch (const HResultError& error) {
        observer_.AddEntry(IDS_CANNOT_DELETE, file_.inputPath, error.code());
        throw;
    }
    // Hidden as every unfinished file is, which is what lets a later run remove it.
    file_.inputAttributesChanged = false;
    try {
        SetHeldAttributes(file_.input.get(), (file_.inputIdentity.attributes & ~FILE_ATTRIBUTE_READONLY) |
                                                 FILE_ATTRIBUTE_HIDDEN);
    } catch (const HResultError& error) {
        observer_.AddEntry(IDS_CANNOT_DELETE, file_.inputPath, error.code());
        PutInputBack();
        throw;
    }
    return aside;
}

void CFileEncryption::PutInputBack() {
    try {
        RenameHeld(file_.input.get(), file_.inputPath);
        SetHeldAttributes(file_.input.get(), file_.inputIdentity.attributes);
    } catch (const HResultError&) {
        // Left hidden under its unfinished name, where the next run removes it: the encrypted
        // copy is complete under its own name.
    }
}

void CFileEncryption::FileDone() {
    UpdateDecryptedItems(file_.inputPath, false);
}

std::u16string CFileEncryption::Summary() const {
    return SummaryOf(IDS_SUMMARY_ENCRYPT);
}

HRESULT CFileEncryption::UpdateDecryptedItems(const std::wstring& path, bool isFolder) {
    return UpdateStore(false, path, isFolder);
}
