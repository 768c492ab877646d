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
    if (!confirmationSet_.ContainsIgnoringCase(ExtensionOf(inputPath_))) return true;
    if (answer_ != kAnswerNoToAll) answer_ = observer_.Confirm(inputPath_);
    if (answer_ == kAnswerNo || answer_ == kAnswerNoToAll) {
        observer_.AddEntry(IDS_SKIPPED_BY_USER, inputPath_, S_OK);
        return false;
    }
    return true;
}

UINT CFileEncryption::SkipReason() const {
    // The name itself was opened, not what a link leads to.
    if (inputIdentity_.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return IDS_SKIPPED_LINK;
    if (inputIdentity_.links > 1) return IDS_SKIPPED_HARD_LINKS;
    if (!input_) return IDS_CANNOT_OPEN;
    return HoldsNamedStreams() ? IDS_SKIPPED_STREAMS : 0;
}

bool CFileEncryption::HoldsNamedStreams() const {
    return HasNamedStreams(input_.get());
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
        observer_.AddEntry(reason, inputPath_, S_OK);
        return FileOutcome::Skipped();
    }
    if (!Confirmed()) return FileOutcome::Skipped();
    if (FormatOfInput() != core::FileFormat::NotEncrypted) return FileOutcome::Skipped();
    return std::nullopt;
}

bool CFileEncryption::CreateOutFileName() {
    CTraceScope scope("CFileEncryption::CreateOutFileName");
    outputPath_ = inputPath_ + L".zte";
    return MayWriteOutput(false);
}

HRESULT CFileEncryption::WriteFileHeader(HANDLE output) {
    CTraceScope scope("CFileEncryption::WriteFileHeader");
    Trace(scope, 0, "Input Filename: %ls", inputPath_.c_str());
    return Guarded(scope, [&] {
        const std::string name = core::Utf16ToUtf8(ToU16(FileNameOf(inputPath_)));
        const core::StandardHeader header = core::BuildStandardHeader(
            std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size()),
            core::kPrimaryKeyType);
        checksumOffset_ = header.checksumOffset;
        Reported(IDS_CANNOT_WRITE, outputPath_, [&] { WriteFully(output, header.bytes); });
    });
}

HRESULT CFileEncryption::WriteCheckSum(HANDLE output, std::uint64_t checksum) {
    CTraceScope scope("CFileEncryption::WriteCheckSum");
    return Guarded(scope, [&] {
        LARGE_INTEGER offset{};
        offset.QuadPart = checksumOffset_;
        Check(::SetFilePointerEx(output, offset, nullptr, FILE_BEGIN));
        Reported(IDS_CANNOT_WRITE, outputPath_, [&] { WriteFully(output, core::EncodeChecksum(checksum)); });
    });
}

// The encrypted copy is flushed and in place under its name before the plain file is
// touched; from then on it stays whatever fails.
void CFileEncryption::Encrypt() {
    if (finishedOutput_) {
        RepairFinishedOutput();
        return WipeInput();
    }
    bool createdWithSecurity = false;
    CreateOutput(createdWithSecurity);
    if (format_ == core::FileFormat::Sealed)
        WriteSealedOutput();
    else
        WriteZteOutput();
    FlushOutput();
    Check(CopyFileAttributes(!createdWithSecurity));
    // The last moment a cancel keeps everything as it was: a wipe once begun is finished.
    StopIfCancelled();
    MoveOutputIntoPlace();
    WipeInput();
}

void CFileEncryption::WriteZteOutput() {
    Check(WriteFileHeader(newOutput_->Handle()));
    const std::uint64_t sum =
        TransferPayload(input_.get(), newOutput_->Handle(), keys_.PrimaryCipher(), true);
    Check(WriteCheckSum(newOutput_->Handle(), sum));
}

// The name is stored as the first format stores it, and every file gets a salt, and so a
// key, of its own.
void CFileEncryption::WriteSealedOutput() {
    const std::string name = core::Utf16ToUtf8(ToU16(FileNameOf(inputPath_)));
    ReportedFile input(*this, input_.get(), IDS_CANNOT_READ, inputPath_);
    ReportedFile output(*this, newOutput_->Handle(), IDS_CANNOT_WRITE, outputPath_);
    core::WriteSealedFile(keys_.Secret(), name, core::NewSealedSalt(), input, output, SealedProgressOfRun());
}

// The plain file is wiped under an unfinished name: a run that dies during the wipe leaves
// no half-overwritten file under the name the user knows, only the encrypted copy and a
// hidden leftover that the next run removes. It is overwritten and deleted through the handle
// it was read through, which no link or other file put under its name can divert.
void CFileEncryption::WipeInput() {
    RequireUnchangedInput();
    const std::wstring aside = SetInputAside();
    bool overwriteBegan = false;
    const HRESULT wiped = DeleteAndWipeOutFile(input_.get(), aside, true, inputPath_, &overwriteBegan);
    if (FAILED(wiped)) {
        // Nothing overwritten: the plain file goes back to its name as it was, beside its
        // encrypted copy.
        if (!overwriteBegan) PutInputBack();
        ThrowHr(wiped);
    }
    input_.reset();
}

std::wstring CFileEncryption::SetInputAside() {
    std::wstring aside;
    try {
        aside = AtFirstFreeUnfinishedName(inputPath_, [&](const std::wstring& path) {
            RenameHeld(input_.get(), path);
            return path;
        });
    } catch (const HResultError& error) {
        observer_.AddEntry(IDS_CANNOT_DELETE, inputPath_, error.code());
        throw;
    }
    // Hidden as every unfinished file is, which is what lets a later run remove it.
    inputAttributesChanged_ = false;
    try {
        SetHeldAttributes(input_.get(),
                          (inputIdentity_.attributes & ~FILE_ATTRIBUTE_READONLY) | FILE_ATTRIBUTE_HIDDEN);
    } catch (const HResultError& error) {
        observer_.AddEntry(IDS_CANNOT_DELETE, inputPath_, error.code());
        PutInputBack();
        throw;
    }
    return aside;
}

void CFileEncryption::PutInputBack() {
    try {
        RenameHeld(input_.get(), inputPath_);
        SetHeldAttributes(input_.get(), inputIdentity_.attributes);
    } catch (const HResultError&) {
        // Left hidden under its unfinished name, where the next run removes it: the encrypted
        // copy is complete under its own name.
    }
}

HRESULT CFileEncryption::DoEncryptDecrypt(bool /*recordItem*/) {
    CTraceScope scope("CFileEncryption::DoEncryptDecrypt");
    const HRESULT hr = Guarded(scope, [&] { Encrypt(); });
    if (FAILED(hr)) {
        RemovePartialOutput();
        return hr;
    }
    UpdateDecryptedItems(inputPath_, false);
    return hr;
}

std::u16string CFileEncryption::Summary() const {
    return SummaryOf(IDS_SUMMARY_ENCRYPT);
}

HRESULT CFileEncryption::UpdateDecryptedItems(const std::wstring& path, bool isFolder) {
    return UpdateStore(false, path, isFolder);
}
