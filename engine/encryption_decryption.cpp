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
#include "win/flush_together.h"
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
    : keys_(secret), report_(observer), observer_(report_), captionId_(captionId) {}

CEncryptionDecryption::~CEncryptionDecryption() {
    AbandonBatch();
}

FileOutcome CEncryptionDecryption::ProcessFile(const std::wstring& path, bool recordItem) {
    CompleteBatch();
    if (const std::optional<FileOutcome> ended = QueueFile(path, recordItem)) return *ended;
    return CompleteBatch().front();
}

std::optional<FileOutcome> CEncryptionDecryption::QueueFile(const std::wstring& path, bool recordItem) {
    MakeWayFor(path);
    file_ = FileInHand();
    file_.inputPath = path;
    file_.recordItem = recordItem;
    file_.reportSlot = report_.OpenSlot();
    observer_.BeginFile(path);
    const std::optional<FileOutcome> ended = Begin();
    if (ended) {
        ReleaseFile();
    } else {
        batchBytes_ += file_.inputIdentity.size;
        batch_.push_back(std::move(file_));
        report_.Hold();
    }
    // Whatever the walk says next comes after this file.
    report_.OpenSlot();
    if (BatchIsFull()) CompleteBatch();
    return ended;
}

std::optional<FileOutcome> CEncryptionDecryption::Begin() {
    if (const std::optional<FileOutcome> ended = CheckInputFile()) return ended;
    if (!CreateOutFileName()) return FileOutcome::Skipped();
    CTraceScope scope("CEncryptionDecryption::WriteOutput");
    const HRESULT hr = Guarded(scope, [&] { WriteOutput(); });
    if (SUCCEEDED(hr)) return std::nullopt;
    RemovePartialOutput();
    return FileOutcome::Failed(hr);
}

// A batch is short enough that a cancel waits for little, and holds few enough handles that
// any system has them to give.
bool CEncryptionDecryption::BatchIsFull() const {
    constexpr std::size_t kBatchFiles = 64;
    constexpr std::uint64_t kBatchBytes = std::uint64_t{32} << 20;
    return batch_.size() >= kBatchFiles || batchBytes_ >= kBatchBytes;
}

template <class Step>
void CEncryptionDecryption::ForEachGoing(Step&& step) {
    for (FileInHand& file : batch_) {
        if (file.outcome) continue;
        std::swap(file_, file);
        report_.UseSlot(file_.reportSlot);
        CTraceScope scope("CEncryptionDecryption::CompleteBatch");
        const HRESULT hr = Guarded(scope, step);
        if (FAILED(hr)) {
            file_.outcome = FileOutcome::Failed(hr);
            RemovePartialOutput();
        }
        std::swap(file_, file);
    }
}

template <class HandleOf, class PathOf>
void CEncryptionDecryption::FlushGoing(HandleOf handleOf, PathOf pathOf) {
    std::vector<HANDLE> handles;
    for (const FileInHand& file : batch_)
        if (!file.outcome && handleOf(file)) handles.push_back(handleOf(file));
    const std::vector<DWORD> errors = FlushTogether(handles);
    ForEachGoing([&] {
        const auto flushed = std::find(handles.begin(), handles.end(), handleOf(file_));
        if (flushed == handles.end()) return;
        const DWORD error = errors[flushed - handles.begin()];
        if (error != 0) Reported(IDS_CANNOT_WRITE, pathOf(file_), [&] { ThrowWin32(error); });
    });
}

void CEncryptionDecryption::MakeWayFor(const std::wstring& path) {
    const auto isOf = [&](const FileInHand& file) {
        return SameNameIgnoringCase(file.inputPath, path) || SameNameIgnoringCase(file.outputPath, path);
    };
    if (std::any_of(batch_.begin(), batch_.end(), isOf)) CompleteBatch();
}

std::vector<FileOutcome> CEncryptionDecryption::CompleteBatch() {
    FlushGoing([](const FileInHand& file) { return file.newOutput ? file.newOutput->Handle() : nullptr; },
               [](const FileInHand& file) { return file.outputPath; });
    ForEachGoing([&] { MoveOutputIntoPlace(); });
    FlushOutputFolders();
    RemoveLeftoversOfOutputs();
    ForEachGoing([&] { ReadyInputForRemoval(); });
    // The zeros are on the disk before the file goes: a file system may drop what a deleted
    // file still had to write, and leave the plain text where it was.
    FlushGoing([](const FileInHand& file) { return file.inputOverwritten ? file.input.get() : nullptr; },
               [](const FileInHand& file) { return file.inputPath; });
    ForEachGoing([&] { RemoveInput(); });
    std::vector<FileOutcome> outcomes;
    for (FileInHand& file : batch_) {
        std::swap(file_, file);
        report_.UseSlot(file_.reportSlot);
        if (!file_.outcome) {
            ++processed_;
            file_.outcome = FileOutcome::Done();
            FileDone();
        }
        outcomes.push_back(*file_.outcome);
        ReleaseFile();
        std::swap(file_, file);
    }
    batch_.clear();
    batchBytes_ = 0;
    report_.PassOn();
    return outcomes;
}

std::vector<std::wstring> CEncryptionDecryption::OutputFolders() const {
    std::vector<std::wstring> folders;
    for (const FileInHand& file : batch_) {
        const std::wstring folder = FolderOf(file.outputPath);
        const auto same = [&](const std::wstring& other) { return SameNameIgnoringCase(other, folder); };
        if (!file.outcome && std::none_of(folders.begin(), folders.end(), same)) folders.push_back(folder);
    }
    return folders;
}

void CEncryptionDecryption::FlushOutputFolders() {
    for (const std::wstring& folder : OutputFolders()) FlushFolder(folder);
}

// A search of a folder reads all of it: one serves the whole batch.
void CEncryptionDecryption::RemoveLeftoversOfOutputs() {
    std::vector<std::wstring> leftovers;
    for (const std::wstring& folder : OutputFolders()) {
        const std::vector<std::wstring> found = UnfinishedFilesIn(folder);
        leftovers.insert(leftovers.end(), found.begin(), found.end());
    }
    if (leftovers.empty()) return;
    ForEachGoing([&] {
        for (const std::wstring& leftover : leftovers)
            if (IsUnfinishedPathOf(leftover, file_.outputPath)) RemoveOwnLeftover(leftover, false);
    });
}

void CEncryptionDecryption::AbandonBatch() noexcept {
    for (FileInHand& file : batch_) {
        std::swap(file_, file);
        try {
            RemovePartialOutput();
        } catch (...) {
            // Left hidden under its unfinished name, for a later run to wipe.
        }
        std::swap(file_, file);
    }
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
        if (!IsOwnLeftover(path, held.file.get(), held.identity)) {
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

// Hidden, as the engines write every unfinished file; empty, as an output is for an instant
// where the system hides a new file only after it made it (Wine does); or a plain file that a
// run set aside for its wipe and was killed before it could hide it, whose encrypted copy is
// complete under the final name. Removing any of them loses nothing. Never one with streams.
bool CEncryptionDecryption::IsOwnLeftover(const std::wstring& path, HANDLE file,
                                          const FileIdentity& identity) const {
    if (HasNamedStreams(file)) return false;
    if ((identity.attributes & FILE_ATTRIBUTE_HIDDEN) || identity.size == 0) return true;
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
    file_.input.reset(::CreateFileW(LongPathForm(file_.inputPath).c_str(), access, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_.input) return HResultFromWin32(::GetLastError());
    try {
        file_.inputIdentity = IdentityOf(file_.input.get());
    } catch (const HResultError& error) {
        file_.input.reset();
        return error.code();
    }
    return S_OK;
}

bool CEncryptionDecryption::HoldPlainInput() {
    HeldPlainFile held = HoldPlainFile(file_.inputPath);
    file_.inputIdentity = held.identity;
    if (!held.file && held.error != 0) {
        const HRESULT hr = HResultFromWin32(held.error);
        observer_.AddEntry(IDS_CANNOT_OPEN, file_.inputPath, hr);
        ThrowHr(hr);
    }
    file_.input = std::move(held.file);
    file_.inputAttributesChanged = file_.input && (file_.inputIdentity.attributes & FILE_ATTRIBUTE_READONLY);
    return static_cast<bool>(file_.input);
}

void CEncryptionDecryption::ReleaseFile() {
    if (file_.input && file_.inputAttributesChanged) {
        try {
            SetHeldAttributes(file_.input.get(), file_.inputIdentity.attributes);
        } catch (const HResultError& error) {
            observer_.AddEntry(IDS_CANNOT_COPY_PROPERTIES, file_.inputPath, error.code());
        }
    }
    file_.inputAttributesChanged = false;
    file_.input.reset();
    file_.newOutput.reset();
    file_.finishedOutput.reset();
}

// Each attempt takes the next unfinished name: one left by a run that died, or still being
// written by a live run, stays until this output is complete.
void CEncryptionDecryption::CreateOutput(bool& createdWithSecurity) {
    CSourceSecurity security(file_.inputPath);
    createdWithSecurity = security.Attributes() != nullptr;
    try {
        if (createdWithSecurity && TryCreateOutput(security.Attributes())) return;
        createdWithSecurity = false;
        file_.newOutput = std::make_unique<CSafeWrite>(file_.outputPath, nullptr);
    } catch (const HResultError& error) {
        if (error.code() != HResultFromWin32(ERROR_INVALID_OWNER))
            observer_.AddEntry(IDS_CANNOT_CREATE, file_.outputPath, error.code());
        throw;
    }
}

bool CEncryptionDecryption::TryCreateOutput(SECURITY_ATTRIBUTES* security) {
    try {
        file_.newOutput = std::make_unique<CSafeWrite>(file_.outputPath, security);
        return true;
    } catch (const HResultError& error) {
        if (error.code() != HResultFromWin32(ERROR_INVALID_OWNER)) return false;
        observer_.AddEntry(IDS_OWNER_NOT_SET, file_.inputPath, S_OK);
        throw;
    }
}

void CEncryptionDecryption::MoveOutputIntoPlace() {
    if (!file_.newOutput) return;
    try {
        file_.newOutput->MoveIntoPlace();
    } catch (const HResultError& error) {
        observer_.AddEntry(IsNameTaken(error.code()) ? IDS_OUTPUT_EXISTS : IDS_CANNOT_CREATE,
                           file_.outputPath, IsNameTaken(error.code()) ? S_OK : error.code());
        throw;
    }
    Reported(IDS_CANNOT_COPY_PROPERTIES, file_.outputPath,
             [&] { SetHeldAttributes(file_.newOutput->Handle(), file_.inputIdentity.attributes); });
}

void CEncryptionDecryption::RepairFinishedOutput() {
    Reported(IDS_CANNOT_COPY_PROPERTIES, file_.outputPath,
             [&] { SetHeldAttributes(file_.finishedOutput.get(), file_.inputIdentity.attributes); });
}

void CEncryptionDecryption::RequireUnchangedInput() {
    const FileIdentity now =
        Reported(IDS_CANNOT_OPEN, file_.inputPath, [&] { return IdentityOf(file_.input.get()); });
    if (now.UnchangedSince(file_.inputIdentity)) return;
    observer_.AddEntry(IDS_CHANGED_MEANWHILE, file_.inputPath, S_OK);
    ThrowWin32(ERROR_FILE_INVALID);
}

HRESULT CEncryptionDecryption::CopyFileAttributes(bool copySecurity) {
    CTraceScope scope("CEncryptionDecryption::CopyFileAttributes");
    return Guarded(scope, [&] {
        FILETIME created{};
        Require(::GetFileTime(file_.input.get(), &created, nullptr, nullptr), IDS_CANNOT_COPY_PROPERTIES,
                file_.inputPath);
        Require(::SetFileTime(file_.newOutput->Handle(), &created, nullptr, nullptr),
                IDS_CANNOT_COPY_PROPERTIES, file_.outputPath);
        if (copySecurity && IsNtPlatform()) CopySecurity();
    });
}

void CEncryptionDecryption::CopySecurity() {
    for (const SECURITY_INFORMATION kind : kSecurityKinds) {
        DWORD size = 0;
        if (::GetFileSecurityW(LongPathForm(file_.inputPath).c_str(), kind, nullptr, 0, &size) ||
            ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
            continue;
        std::vector<BYTE> descriptor(size);
        Require(
            ::GetFileSecurityW(LongPathForm(file_.inputPath).c_str(), kind, descriptor.data(), size, &size),
            IDS_CANNOT_COPY_PROPERTIES, file_.inputPath);
        if (::SetFileSecurityW(LongPathForm(file_.newOutput->Path()).c_str(), kind, descriptor.data()))
            continue;
        if (::GetLastError() == ERROR_INVALID_OWNER) {
            observer_.AddEntry(IDS_OWNER_NOT_SET, file_.inputPath, S_OK);
            ThrowWin32(ERROR_INVALID_OWNER);
        }
        Require(FALSE, IDS_CANNOT_COPY_PROPERTIES, file_.outputPath);
    }
}

void CEncryptionDecryption::DeleteHeldInput() {
    // The system refuses to delete a read-only file, also through a handle.
    if (file_.inputIdentity.attributes & FILE_ATTRIBUTE_READONLY) {
        file_.inputAttributesChanged = true;
        Reported(IDS_CANNOT_DELETE, file_.inputPath, [&] {
            SetHeldAttributes(file_.input.get(), file_.inputIdentity.attributes & ~FILE_ATTRIBUTE_READONLY);
        });
    }
    Check(DeleteAndWipeOutFile(file_.input.get(), file_.inputPath, false, file_.inputPath));
    file_.inputAttributesChanged = false;
    file_.input.reset();
}

HRESULT CEncryptionDecryption::DeleteAndWipeOutFile(HANDLE file, const std::wstring& path, bool wipe,
                                                    const std::wstring& shownAs) {
    CTraceScope scope("CEncryptionDecryption::DeleteAndWipeOutFile");
    return Guarded(scope, [&] {
        if (wipe) Reported(IDS_CANNOT_WRITE, shownAs, [&] { OverwriteWithZeros(file); });
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
    ReportedFile source(*this, input, IDS_CANNOT_READ, file_.inputPath);
    ReportedFile sink(*this, output, IDS_CANNOT_WRITE, file_.outputPath);
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
    ReportedFile input(*this, file_.input.get(), IDS_CANNOT_READ, file_.inputPath);
    const std::size_t read = input.Read(start);
    Require(::SetFilePointerEx(file_.input.get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN), IDS_CANNOT_READ,
            file_.inputPath);
    return core::FormatOf(std::span(start).first(read));
}

core::SealedProgress CEncryptionDecryption::SealedProgressOfRun() {
    return {.stopIfAsked = [this] { StopIfCancelled(); },
            .advance = [this](std::size_t length) { observer_.Advance(length); }};
}

void CEncryptionDecryption::StopIfCancelled() {
    if (!observer_.IsCancelled()) return;
    observer_.AddEntry(IDS_CANCELLED, file_.inputPath, S_OK);
    ThrowHr(E_ABORT);
}

bool CEncryptionDecryption::MayWriteOutput(bool inputIsEncrypted) {
    // An output of the batch under that name, or an input to be removed, is where a run of
    // one file after another would have left it.
    MakeWayFor(file_.outputPath);
    if (!PathIsTaken(file_.outputPath)) return true;
    // Held unshared with deletions from here on, so that no other run removes it while this
    // one removes the input on the strength of it.
    FileHandle existing(::CreateFileW(LongPathForm(file_.outputPath).c_str(),
                                      GENERIC_READ | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const bool finished =
        existing &&
        (inputIsEncrypted ? HoldsTheSameContent(file_.input.get(), existing.get(), file_.outputPath, keys_)
                          : HoldsTheSameContent(existing.get(), file_.input.get(), file_.inputPath, keys_));
    if (!finished) {
        observer_.AddEntry(IDS_OUTPUT_EXISTS, file_.outputPath, S_OK);
        return false;
    }
    file_.finishedOutput = std::move(existing);
    return true;
}

void CEncryptionDecryption::RemovePartialOutput() {
    if (!file_.newOutput || file_.newOutput->Placed()) return;
    // What it holds may be plain text, and it is this engine's alone: the handle that wrote it
    // overwrites and deletes it.
    DeleteAndWipeOutFile(file_.newOutput->Handle(), file_.newOutput->Path(), true, file_.outputPath);
    file_.newOutput->Disown();
    file_.newOutput.reset();
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
