#include "engine/encryption_decryption.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/container/payload_transfer.h"
#include "core/crypto/secure_bytes.h"
#include "engine/engine_ids.h"
#include "engine/same_content.h"
#include "engine/source_security.h"
#include "text/res_string.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/handle_stream.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/unfinished_path.h"
#include "win/wide_text.h"
#include "win/windows_version.h"

using trace::CTraceScope;

namespace {

std::uint64_t PositionOf(HANDLE file) {
    LARGE_INTEGER position{};
    return ::SetFilePointerEx(file, LARGE_INTEGER{}, &position, FILE_CURRENT) ? position.QuadPart : 0;
}

// The buffer for the rest of the input from its position: a small file costs a small buffer.
std::size_t BufferSizeFor(HANDLE input) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(input, &size)) return core::kPayloadPieceSize;
    const std::uint64_t position = PositionOf(input);
    const std::uint64_t rest =
        static_cast<std::uint64_t>(size.QuadPart) > position ? size.QuadPart - position : 0;
    return static_cast<std::size_t>(std::clamp<std::uint64_t>(rest, 1, core::kPayloadPieceSize));
}

// The security kinds copied after creation, the owner last: it is the one that may be refused.
constexpr SECURITY_INFORMATION kSecurityKinds[] = {DACL_SECURITY_INFORMATION, GROUP_SECURITY_INFORMATION,
                                                   OWNER_SECURITY_INFORMATION};

}  // namespace

CEncryptionDecryption::CEncryptionDecryption(IRunObserver& observer, std::span<const BYTE> secret,
                                             UINT captionId)
    : keys_(secret), observer_(observer), captionId_(captionId) {}

CEncryptionDecryption::~CEncryptionDecryption() = default;

FileOutcome CEncryptionDecryption::ProcessFile(const std::wstring& path, bool recordItem) {
    inputPath_ = path;
    outputPath_.clear();
    observer_.BeginFile(path);
    const FileOutcome outcome = Process(recordItem);
    ReleaseFile();
    return outcome;
}

FileOutcome CEncryptionDecryption::Process(bool recordItem) {
    if (const std::optional<FileOutcome> ended = CheckInputFile()) return *ended;
    if (!CreateOutFileName()) return FileOutcome::Skipped();
    const HRESULT hr = DoEncryptDecrypt(recordItem);
    if (FAILED(hr)) return FileOutcome::Failed(hr);
    ++processed_;
    return FileOutcome::Done();
}

void CEncryptionDecryption::ProcessLeftover(const std::wstring& path, bool namedByUser) {
    CTraceScope scope("CEncryptionDecryption::ProcessLeftover");
    observer_.SkipFile(path);
    if (namedByUser || !RemoveOwnLeftover(path, true)) observer_.AddEntry(IDS_NOT_A_LEFTOVER, path, S_OK);
}

bool CEncryptionDecryption::RemoveOwnLeftover(const std::wstring& path, bool reportFailures) {
    HeldPlainFile held = HoldPlainFile(path);
    // The run that finished its file removed it since the folder was read.
    if (held.error == ERROR_FILE_NOT_FOUND || held.error == ERROR_PATH_NOT_FOUND) return true;
    const DWORD attributes = held.identity.attributes;
    const bool hidden = attributes & FILE_ATTRIBUTE_HIDDEN;
    const bool seen = held.identity.links != 0;
    if (seen && (!held.identity.IsPlainWithOneName() || (attributes & FILE_ATTRIBUTE_SYSTEM))) return false;
    // One that cannot be opened can be judged only by what the folder says of it.
    if (!held.file && seen && !hidden) return false;
    try {
        // A live run still writing it holds it unshared.
        if (!held.file) ThrowWin32(held.error);
        if (!IsOwnLeftover(path, held.file.get(), hidden)) {
            SetHeldAttributes(held.file.get(), attributes);
            return false;
        }
        OverwriteWithZeros(held.file.get());
        RemoveHeld(held.file.get(), path);
    } catch (const HResultError& error) {
        if (reportFailures) observer_.AddEntry(IDS_CANNOT_DELETE, path, error.code());
    }
    return true;
}

// Hidden, as the engines write every unfinished file; or a plain file that a run set aside for
// its wipe and was killed before it could hide it, whose encrypted copy is complete under the
// final name, so that removing it loses nothing. Never one with streams.
bool CEncryptionDecryption::IsOwnLeftover(const std::wstring& path, HANDLE file, bool hidden) const {
    if (HasNamedStreams(file)) return false;
    if (hidden) return true;
    const std::wstring finalPath = FinalPathOf(path);
    const FileHandle encrypted(::CreateFileW(LongPathForm(finalPath + L".zte").c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                             nullptr));
    return encrypted && HoldsTheSameContent(encrypted.get(), file, finalPath, keys_);
}

std::wstring CEncryptionDecryption::ProgressTitle() const {
    return LoadResString(captionId_);
}

void CEncryptionDecryption::Require(BOOL ok, UINT messageId, const std::wstring& path) {
    if (ok) return;
    const HRESULT hr = HResultFromWin32(::GetLastError());
    observer_.AddEntry(messageId, path, hr);
    ThrowHr(hr);
}

HRESULT CEncryptionDecryption::HoldInput(DWORD access) {
    input_.reset(::CreateFileW(LongPathForm(inputPath_).c_str(), access, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!input_) return HResultFromWin32(::GetLastError());
    try {
        inputIdentity_ = IdentityOf(input_.get());
    } catch (const HResultError& error) {
        input_.reset();
        return error.code();
    }
    return S_OK;
}

bool CEncryptionDecryption::HoldPlainInput() {
    HeldPlainFile held = HoldPlainFile(inputPath_);
    inputIdentity_ = held.identity;
    if (!held.file && held.error != 0) {
        const HRESULT hr = HResultFromWin32(held.error);
        observer_.AddEntry(IDS_CANNOT_OPEN, inputPath_, hr);
        ThrowHr(hr);
    }
    input_ = std::move(held.file);
    inputAttributesChanged_ = input_ && (inputIdentity_.attributes & FILE_ATTRIBUTE_READONLY);
    return static_cast<bool>(input_);
}

void CEncryptionDecryption::ReleaseFile() {
    if (input_ && inputAttributesChanged_) {
        try {
            SetHeldAttributes(input_.get(), inputIdentity_.attributes);
        } catch (const HResultError& error) {
            observer_.AddEntry(IDS_CANNOT_COPY_PROPERTIES, inputPath_, error.code());
        }
    }
    inputAttributesChanged_ = false;
    input_.reset();
    newOutput_.reset();
    finishedOutput_.reset();
}

// Each attempt takes the next unfinished name: one left by a run that died, or still being
// written by a live run, stays until this output is complete.
void CEncryptionDecryption::CreateOutput(bool& createdWithSecurity) {
    CSourceSecurity security(inputPath_);
    createdWithSecurity = security.Attributes() != nullptr;
    try {
        if (createdWithSecurity && TryCreateOutput(security.Attributes())) return;
        createdWithSecurity = false;
        newOutput_.emplace(outputPath_, nullptr);
    } catch (const HResultError& error) {
        if (error.code() != HResultFromWin32(ERROR_INVALID_OWNER))
            observer_.AddEntry(IDS_CANNOT_CREATE, outputPath_, error.code());
        throw;
    }
}

bool CEncryptionDecryption::TryCreateOutput(SECURITY_ATTRIBUTES* security) {
    try {
        newOutput_.emplace(outputPath_, security);
        return true;
    } catch (const HResultError& error) {
        if (error.code() != HResultFromWin32(ERROR_INVALID_OWNER)) return false;
        observer_.AddEntry(IDS_OWNER_NOT_SET, inputPath_, S_OK);
        throw;
    }
}

void CEncryptionDecryption::FlushOutput() {
    Reported(IDS_CANNOT_WRITE, outputPath_, [&] { newOutput_->Flush(); });
}

void CEncryptionDecryption::MoveOutputIntoPlace() {
    try {
        newOutput_->MoveIntoPlace();
    } catch (const HResultError& error) {
        observer_.AddEntry(IsNameTaken(error.code()) ? IDS_OUTPUT_EXISTS : IDS_CANNOT_CREATE, outputPath_,
                           IsNameTaken(error.code()) ? S_OK : error.code());
        throw;
    }
    Reported(IDS_CANNOT_COPY_PROPERTIES, outputPath_,
             [&] { SetHeldAttributes(newOutput_->Handle(), inputIdentity_.attributes); });
    Reported(IDS_CANNOT_WRITE, outputPath_, [&] { newOutput_->MakeDurable(); });
    for (const std::wstring& leftover : UnfinishedFilesOf(outputPath_)) RemoveOwnLeftover(leftover, false);
}

void CEncryptionDecryption::RepairFinishedOutput() {
    Reported(IDS_CANNOT_COPY_PROPERTIES, outputPath_,
             [&] { SetHeldAttributes(finishedOutput_.get(), inputIdentity_.attributes); });
}

void CEncryptionDecryption::RequireUnchangedInput() {
    const FileIdentity now = Reported(IDS_CANNOT_OPEN, inputPath_, [&] { return IdentityOf(input_.get()); });
    if (now.UnchangedSince(inputIdentity_)) return;
    observer_.AddEntry(IDS_CHANGED_MEANWHILE, inputPath_, S_OK);
    ThrowWin32(ERROR_FILE_INVALID);
}

HRESULT CEncryptionDecryption::CopyFileAttributes(bool copySecurity) {
    CTraceScope scope("CEncryptionDecryption::CopyFileAttributes");
    return Guarded(scope, [&] {
        FILETIME created{};
        Require(::GetFileTime(input_.get(), &created, nullptr, nullptr), IDS_CANNOT_COPY_PROPERTIES,
                inputPath_);
        Require(::SetFileTime(newOutput_->Handle(), &created, nullptr, nullptr), IDS_CANNOT_COPY_PROPERTIES,
                outputPath_);
        if (copySecurity && IsNtPlatform()) CopySecurity();
    });
}

void CEncryptionDecryption::CopySecurity() {
    for (const SECURITY_INFORMATION kind : kSecurityKinds) {
        DWORD size = 0;
        if (::GetFileSecurityW(LongPathForm(inputPath_).c_str(), kind, nullptr, 0, &size) ||
            ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
            continue;
        std::vector<BYTE> descriptor(size);
        Require(::GetFileSecurityW(LongPathForm(inputPath_).c_str(), kind, descriptor.data(), size, &size),
                IDS_CANNOT_COPY_PROPERTIES, inputPath_);
        if (::SetFileSecurityW(LongPathForm(newOutput_->Path()).c_str(), kind, descriptor.data())) continue;
        if (::GetLastError() == ERROR_INVALID_OWNER) {
            observer_.AddEntry(IDS_OWNER_NOT_SET, inputPath_, S_OK);
            ThrowWin32(ERROR_INVALID_OWNER);
        }
        Require(FALSE, IDS_CANNOT_COPY_PROPERTIES, outputPath_);
    }
}

void CEncryptionDecryption::DeleteHeldInput() {
    // The system refuses to delete a read-only file, also through a handle.
    if (inputIdentity_.attributes & FILE_ATTRIBUTE_READONLY) {
        inputAttributesChanged_ = true;
        Reported(IDS_CANNOT_DELETE, inputPath_, [&] {
            SetHeldAttributes(input_.get(), inputIdentity_.attributes & ~FILE_ATTRIBUTE_READONLY);
        });
    }
    Check(DeleteAndWipeOutFile(input_.get(), inputPath_, false, inputPath_));
    inputAttributesChanged_ = false;
    input_.reset();
}

HRESULT CEncryptionDecryption::DeleteAndWipeOutFile(HANDLE file, const std::wstring& path, bool wipe,
                                                    const std::wstring& shownAs, bool* overwriteBegan) {
    CTraceScope scope("CEncryptionDecryption::DeleteAndWipeOutFile");
    return Guarded(scope, [&] {
        if (wipe) {
            Reported(IDS_CANNOT_WRITE, shownAs, [&] {
                LARGE_INTEGER size{};
                Check(::GetFileSizeEx(file, &size));
                if (overwriteBegan) *overwriteBegan = size.QuadPart > 0;
                OverwriteWithZeros(file);
            });
        }
        Reported(IDS_CANNOT_DELETE, shownAs, [&] { RemoveHeld(file, path); });
    });
}

void CEncryptionDecryption::RemoveHeld(HANDLE file, const std::wstring& /*path*/) {
    DeleteHeld(file);
}

// The cipher costs less than the copying, so a piece takes what the file system takes for
// it, and the progress and a cancel are never more than a piece behind. A cancel is heard
// only before a piece is used: once the last one is written, the file is finished.
std::uint64_t CEncryptionDecryption::TransferPayload(HANDLE input, HANDLE output,
                                                     const core::ChunkCipher& cipher, bool encipher) {
    ReportedFile source(*this, input, IDS_CANNOT_READ, inputPath_);
    ReportedFile sink(*this, output, IDS_CANNOT_WRITE, outputPath_);
    return core::TransferPayload(source, &sink,
                                 {.cipher = cipher,
                                  .encipher = encipher,
                                  .bufferSize = BufferSizeFor(input),
                                  .alignedFrom = PositionOf(output),
                                  .stopPoint = core::StopPoint::BeforeEveryPiece,
                                  .stopIfAsked = [this] { StopIfCancelled(); },
                                  .advance = [this](std::size_t length) { observer_.Advance(length); }});
}

core::FileFormat CEncryptionDecryption::FormatOfInput() {
    std::array<std::uint8_t, 4> start{};
    ReportedFile input(*this, input_.get(), IDS_CANNOT_READ, inputPath_);
    const std::size_t read = input.Read(start);
    Require(::SetFilePointerEx(input_.get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN), IDS_CANNOT_READ,
            inputPath_);
    return core::FormatOf(std::span(start).first(read));
}

core::SealedProgress CEncryptionDecryption::SealedProgressOfRun() {
    return {.stopIfAsked = [this] { StopIfCancelled(); },
            .advance = [this](std::size_t length) { observer_.Advance(length); }};
}

void CEncryptionDecryption::StopIfCancelled() {
    if (!observer_.IsCancelled()) return;
    observer_.AddEntry(IDS_CANCELLED, inputPath_, S_OK);
    ThrowHr(E_ABORT);
}

bool CEncryptionDecryption::MayWriteOutput(bool inputIsEncrypted) {
    if (!PathIsTaken(outputPath_)) return true;
    // Held unshared with deletions from here on, so that no other run removes it while this
    // one removes the input on the strength of it.
    FileHandle existing(::CreateFileW(LongPathForm(outputPath_).c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
    const bool finished =
        existing && (inputIsEncrypted ? HoldsTheSameContent(input_.get(), existing.get(), outputPath_, keys_)
                                      : HoldsTheSameContent(existing.get(), input_.get(), inputPath_, keys_));
    if (!finished) {
        observer_.AddEntry(IDS_OUTPUT_EXISTS, outputPath_, S_OK);
        return false;
    }
    finishedOutput_ = std::move(existing);
    return true;
}

void CEncryptionDecryption::RemovePartialOutput() {
    if (!newOutput_ || newOutput_->Placed()) return;
    // What it holds may be plain text, and it is this engine's alone: the handle that wrote it
    // overwrites and deletes it.
    DeleteAndWipeOutFile(newOutput_->Handle(), newOutput_->Path(), true, outputPath_);
    newOutput_->Disown();
    newOutput_.reset();
}

std::u16string CEncryptionDecryption::SummaryOf(UINT messageId) const {
    // The report fills only text conversions, so the count is put in as text.
    std::wstring line = LoadResString(messageId);
    const std::size_t conversion = line.find(L"%d");
    if (conversion != std::wstring::npos) line.replace(conversion, 2, std::to_wstring(processed_));
    return ToU16(line);
}

HRESULT CEncryptionDecryption::UpdateStore(bool add, const std::wstring& path, bool isFolder) {
    return store_.UpdateDecryptedItems(add, path, isFolder ? 1 : 0);
}
