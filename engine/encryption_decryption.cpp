#include "engine/encryption_decryption.h"

#include <algorithm>
#include <vector>

#include "core/secure_bytes.h"
#include "engine/engine_ids.h"
#include "engine/handle_stream.h"
#include "engine/same_content.h"
#include "engine/source_security.h"
#include "engine/unfinished_path.h"
#include "text/res_string.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/path_parts.h"
#include "win/wide_text.h"
#include "win/windows_version.h"

using ZTTraceNS::CTraceScope;

namespace {

// Few large system calls, and a piece of the payload small enough that the progress moves
// and a cancel is heard often even on a slow disk.
constexpr std::size_t kTransferSize = std::size_t{1} << 20;

std::uint64_t PositionOf(HANDLE file) {
    LARGE_INTEGER position{};
    return ::SetFilePointerEx(file, LARGE_INTEGER{}, &position, FILE_CURRENT) ? position.QuadPart : 0;
}

// The buffer for the rest of the input from its position: a small file costs a small buffer.
std::size_t BufferSizeFor(HANDLE input) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(input, &size)) return kTransferSize;
    const std::uint64_t position = PositionOf(input);
    const std::uint64_t rest =
        static_cast<std::uint64_t>(size.QuadPart) > position ? size.QuadPart - position : 0;
    return static_cast<std::size_t>(std::clamp<std::uint64_t>(rest, 1, kTransferSize));
}

// The security kinds copied after creation, the owner last: it is the one that may be refused.
constexpr SECURITY_INFORMATION kSecurityKinds[] = {DACL_SECURITY_INFORMATION, GROUP_SECURITY_INFORMATION,
                                                   OWNER_SECURITY_INFORMATION};

}  // namespace

CEncryptionDecryption::CEncryptionDecryption(HWND parent, std::span<const BYTE> secret, UINT captionId)
    : keys_(secret), progress_(std::make_unique<CProgressDlg>(parent, LoadResString(captionId))) {}

CEncryptionDecryption::~CEncryptionDecryption() = default;

int CEncryptionDecryption::ProcessFile(const std::wstring& path, bool recordItem) {
    inputPath_ = path;
    outputPath_.clear();
    workPath_.clear();
    outputCreated_ = false;
    outputFinished_ = false;
    if (IsUnfinishedPath(path)) {
        // Left by a run that died: never the only copy of anything, never encrypted or
        // decrypted. It may hold plain text that an encryption was wiping, and may be gone
        // already: the run that finished its file removes it.
        SkipFile(path);
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteAndWipeOutFile(path, GetOperationKind() == kOperationEncrypt);
        return 1;
    }
    if (DialogIsUp()) progress_->Initialize(path.c_str());
    const int check = CheckInputFile();
    if (check < 0 || check == 1) return check;
    if (!CreateOutFileName()) return check;
    const HRESULT hr = DoEncryptDecrypt(recordItem);
    if (hr == S_OK) ++processed_;
    return hr;
}

bool CEncryptionDecryption::IsCancelled() const {
    return progress_ && progress_->IsCancelled();
}

void CEncryptionDecryption::SetTotalRange(std::uint64_t total) {
    if (DialogIsUp()) progress_->SetTotalRange(total);
}

void CEncryptionDecryption::SkipFile(const std::wstring& path) {
    if (DialogIsUp()) progress_->SkipFile(path);
}

void CEncryptionDecryption::Require(BOOL ok, UINT messageId, const std::wstring& path) {
    if (ok) return;
    const HRESULT hr = HResultFromWin32(::GetLastError());
    report_.AddEntry(messageId, path, hr);
    ThrowHr(hr);
}

FileHandle CEncryptionDecryption::OpenExisting(const std::wstring& path, DWORD access, DWORD share,
                                               UINT messageId) {
    FileHandle file(
        ::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    Require(static_cast<bool>(file), messageId, path);
    return file;
}

FileHandle CEncryptionDecryption::CreateOutputFile(const std::wstring& output, DWORD access, DWORD share,
                                                   const std::wstring& securitySource,
                                                   bool& createdWithSecurity, DWORD attributes) {
    CSourceSecurity security(securitySource);
    createdWithSecurity = security.Attributes() != nullptr;
    if (createdWithSecurity) {
        FileHandle file(::CreateFileW(output.c_str(), access, share, security.Attributes(), CREATE_NEW,
                                      attributes, nullptr));
        if (file) return file;
        if (::GetLastError() == ERROR_INVALID_OWNER) {
            report_.AddEntry(IDS_OWNER_NOT_SET, inputPath_, S_OK);
            ThrowWin32(ERROR_INVALID_OWNER);
        }
        createdWithSecurity = false;
    }
    FileHandle file(::CreateFileW(output.c_str(), access, share, nullptr, CREATE_NEW, attributes, nullptr));
    if (!file) ThrowLastError();
    return file;
}

// Each attempt takes the next unfinished name: one left by a run that died, or still being
// written by a live run, stays until this output is complete.
FileHandle CEncryptionDecryption::CreateOutput(bool& createdWithSecurity) {
    for (unsigned attempt = 1;; ++attempt) {
        workPath_ = UnfinishedPath(outputPath_, attempt);
        try {
            FileHandle output = CreateOutputFile(workPath_, GENERIC_WRITE, 0, inputPath_, createdWithSecurity,
                                                 FILE_ATTRIBUTE_HIDDEN);
            outputCreated_ = true;
            return output;
        } catch (const HResultError& error) {
            if (IsNameTaken(error.code()) && attempt < kUnfinishedAttempts) continue;
            if (error.code() != HResultFromWin32(ERROR_INVALID_OWNER))
                report_.AddEntry(IDS_CANNOT_CREATE, outputPath_, error.code());
            throw;
        }
    }
}

void CEncryptionDecryption::MoveOutputIntoPlace() {
    if (!::MoveFileExW(workPath_.c_str(), outputPath_.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const HRESULT hr = HResultFromWin32(::GetLastError());
        if (IsNameTaken(hr))
            report_.AddEntry(IDS_OUTPUT_EXISTS, outputPath_, S_OK);
        else
            report_.AddEntry(IDS_CANNOT_CREATE, outputPath_, hr);
        ThrowHr(hr);
    }
    workPath_ = outputPath_;
    RemoveUnfinished(outputPath_);
}

HRESULT CEncryptionDecryption::CopyFileAttributes(bool copySecurity) {
    CTraceScope scope("CEncryptionDecryption::CopyFileAttributes");
    return Guarded(scope, [&] {
        {
            const FileHandle input = OpenExisting(inputPath_, GENERIC_READ, FILE_SHARE_READ, IDS_CANNOT_OPEN);
            const FileHandle output = OpenExisting(workPath_, GENERIC_WRITE, 0, IDS_CANNOT_OPEN);
            FILETIME created{};
            Require(::GetFileTime(input.get(), &created, nullptr, nullptr), IDS_CANNOT_COPY_PROPERTIES,
                    inputPath_);
            Require(::SetFileTime(output.get(), &created, nullptr, nullptr), IDS_CANNOT_COPY_PROPERTIES,
                    outputPath_);
        }
        const DWORD attributes = ::GetFileAttributesW(inputPath_.c_str());
        Require(attributes != INVALID_FILE_ATTRIBUTES, IDS_CANNOT_COPY_PROPERTIES, inputPath_);
        Require(::SetFileAttributesW(workPath_.c_str(), attributes), IDS_CANNOT_COPY_PROPERTIES, outputPath_);
        if (copySecurity && IsNtPlatform()) CopySecurity();
    });
}

void CEncryptionDecryption::CopySecurity() {
    for (const SECURITY_INFORMATION kind : kSecurityKinds) {
        DWORD size = 0;
        if (::GetFileSecurityW(inputPath_.c_str(), kind, nullptr, 0, &size) ||
            ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
            continue;
        std::vector<BYTE> descriptor(size);
        Require(::GetFileSecurityW(inputPath_.c_str(), kind, descriptor.data(), size, &size),
                IDS_CANNOT_COPY_PROPERTIES, inputPath_);
        if (::SetFileSecurityW(workPath_.c_str(), kind, descriptor.data())) continue;
        if (::GetLastError() == ERROR_INVALID_OWNER) {
            report_.AddEntry(IDS_OWNER_NOT_SET, inputPath_, S_OK);
            ThrowWin32(ERROR_INVALID_OWNER);
        }
        Require(FALSE, IDS_CANNOT_COPY_PROPERTIES, outputPath_);
    }
}

HRESULT CEncryptionDecryption::DeleteAndWipeOutFile(const std::wstring& path, bool wipe, bool* overwriteBegan,
                                                    const std::wstring& shownAs) {
    CTraceScope scope("CEncryptionDecryption::DeleteAndWipeOutFile");
    const std::wstring& shown = shownAs.empty() ? path : shownAs;
    bool began = false;
    const HRESULT hr = Guarded(scope, [&] {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        if (wipe) WipeContent(path, shown, began);
        Require(RemoveFile(path), IDS_CANNOT_DELETE, shown);
    });
    if (overwriteBegan) *overwriteBegan = began;
    return hr;
}

bool CEncryptionDecryption::RemoveFile(const std::wstring& path) {
    return ::DeleteFileW(path.c_str()) != FALSE;
}

// One pass of zeros in large writes, flushed: an overwrite still in the cache when the file
// is deleted may never reach the disk.
void CEncryptionDecryption::WipeContent(const std::wstring& path, const std::wstring& shownAs,
                                        bool& overwriteBegan) {
    const FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    Require(static_cast<bool>(file), IDS_CANNOT_OPEN, shownAs);
    LARGE_INTEGER size{};
    Require(::GetFileSizeEx(file.get(), &size), IDS_CANNOT_OPEN, shownAs);
    auto remaining = static_cast<std::uint64_t>(size.QuadPart);
    const std::vector<BYTE> zeros(
        static_cast<std::size_t>(std::min<std::uint64_t>(remaining, kTransferSize)));
    overwriteBegan = remaining > 0;
    Reported(IDS_CANNOT_WRITE, shownAs, [&] {
        while (remaining > 0) {
            const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, zeros.size()));
            WriteFully(file.get(), std::span(zeros).first(length));
            remaining -= length;
        }
        Check(::FlushFileBuffers(file.get()));
    });
}

// The payload goes piece by piece: read, enciphered (or deciphered) and summed, written. The
// cipher costs less than the copying, so a piece takes what the file system takes for it,
// and the progress and a cancel are never more than a piece behind. Every write but the
// last ends on a multiple of the piece size in the output: writes that end inside a page
// cost the file system nearly three times as long, so after a header the first piece is
// shorter.
std::uint64_t CEncryptionDecryption::TransferPayload(HANDLE input, HANDLE output,
                                                     const core::ChunkCipher& cipher, bool encipher) {
    core::SecureBytes buffer(BufferSizeFor(input));
    std::size_t piece = kTransferSize - static_cast<std::size_t>(PositionOf(output) % kTransferSize);
    std::uint64_t position = 0;
    std::uint64_t sum = 0;
    for (;;) {
        const std::span<BYTE> space = buffer.Bytes().first(std::min(piece, buffer.Bytes().size()));
        const std::size_t length = ReadInput(input, space);
        if (length == 0) return sum;
        StopIfCancelled();
        const std::span<BYTE> data = space.first(length);
        sum = encipher ? cipher.Encipher(data, position, sum) : cipher.Decipher(data, position, sum);
        Reported(IDS_CANNOT_WRITE, outputPath_, [&] { WriteFully(output, data); });
        if (DialogIsUp()) progress_->SetPos(length);
        position += length;
        piece = kTransferSize;
    }
}

void CEncryptionDecryption::StopIfCancelled() {
    if (!IsCancelled()) return;
    report_.AddEntry(IDS_CANCELLED, inputPath_, S_OK);
    ThrowHr(E_ABORT);
}

std::size_t CEncryptionDecryption::ReadInput(HANDLE input, std::span<BYTE> buffer) {
    return Reported(IDS_CANNOT_READ, inputPath_, [&] { return ReadFully(input, buffer); });
}

bool CEncryptionDecryption::MayWriteOutput(const std::wstring& encrypted, const std::wstring& plain) {
    if (!PathIsTaken(outputPath_)) return true;
    outputFinished_ = HoldsTheSameContent(encrypted, plain, keys_);
    if (!outputFinished_) report_.AddEntry(IDS_OUTPUT_EXISTS, outputPath_, S_OK);
    return outputFinished_;
}

void CEncryptionDecryption::RemovePartialOutput() {
    if (outputCreated_ && PathExists(workPath_)) DeleteAndWipeOutFile(workPath_, false, nullptr, outputPath_);
}

void CEncryptionDecryption::AddSummary(UINT messageId) {
    // The report fills only text conversions, so the count is put in as text.
    std::wstring line = LoadResString(messageId);
    const std::size_t conversion = line.find(L"%d");
    if (conversion != std::wstring::npos) line.replace(conversion, 2, std::to_wstring(processed_));
    report_.AddParagraph(AsU16(line));
}

HRESULT CEncryptionDecryption::UpdateStore(bool add, const std::wstring& path, bool isFolder) {
    return store_.UpdateDecryptedItems(add, path, isFolder ? 1 : 0);
}
