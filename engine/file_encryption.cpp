#include "engine/file_encryption.h"

#include "core/zte_header.h"
#include "engine/encrypted_file.h"
#include "engine/engine_ids.h"
#include "engine/handle_stream.h"
#include "engine/standard_header.h"
#include "engine/unfinished_path.h"
#include "text/extension_filter.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/path_parts.h"

using ZTTraceNS::CTraceScope;
using ZTTraceNS::Trace;

CFileEncryption::CFileEncryption(HWND parent, std::span<const BYTE> secret)
    : CEncryptionDecryption(parent, secret, IDS_PROGRESS_ENCRYPT) {
    if (!LoadExtensionFilter(confirmationSet_)) AddDefaultExtensions(confirmationSet_);
}

bool CFileEncryption::Confirmed() {
    if (answer_ == kAnswerYesToAll) return true;
    if (!confirmationSet_.ContainsIgnoringCase(ExtensionOf(inputPath_))) return true;
    if (answer_ != kAnswerNoToAll)
        answer_ = CConfirmDlg(inputPath_).Ask(progress_ ? progress_->Window() : nullptr);
    if (answer_ == kAnswerNo || answer_ == kAnswerNoToAll) {
        report_.AddEntry(IDS_SKIPPED_BY_USER, inputPath_, S_OK);
        return false;
    }
    return true;
}

UINT CFileEncryption::LinkReason() const {
    // The link itself is opened, not what it leads to. A file that cannot be opened is left
    // to the steps after this one, which report why.
    const FileHandle file(::CreateFileW(inputPath_.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !::GetFileInformationByHandle(file.get(), &information)) return 0;
    if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return IDS_SKIPPED_LINK;
    return information.nNumberOfLinks > 1 ? IDS_SKIPPED_HARD_LINKS : 0;
}

int CFileEncryption::CheckInputFile() {
    CTraceScope scope("CFileEncryption::CheckInputFile");
    if (const UINT reason = LinkReason()) {
        report_.AddEntry(reason, inputPath_, S_OK);
        return 1;
    }
    if (!Confirmed()) return 1;
    const HRESULT magic = IsEncryptedFileName(inputPath_.c_str());
    if (FAILED(magic)) {
        report_.AddEntry(IDS_CANNOT_READ, inputPath_, magic);
        return magic;
    }
    return magic == S_OK ? 1 : 0;
}

bool CFileEncryption::CreateOutFileName() {
    CTraceScope scope("CFileEncryption::CreateOutFileName");
    outputPath_ = inputPath_ + L".zte";
    return MayWriteOutput(outputPath_, inputPath_);
}

HRESULT CFileEncryption::WriteFileHeader(HANDLE output) {
    CTraceScope scope("CFileEncryption::WriteFileHeader");
    Trace(scope, 0, "Input Filename: %ls", inputPath_.c_str());
    const CStandardHeader header(FileNameOf(inputPath_), 1, 0, 0);
    const HRESULT hr = header.Write(output);
    checksumOffset_ = header.GetBlockOffset(core::kChecksumBlock);
    if (checksumOffset_ != 0) checksumOffset_ += 4;
    if (FAILED(hr)) report_.AddEntry(IDS_CANNOT_WRITE, outputPath_, hr);
    return hr;
}

HRESULT CFileEncryption::WriteCheckSum(HANDLE output, std::uint64_t checksum) {
    CTraceScope scope("CFileEncryption::WriteCheckSum");
    return Guarded(scope, [&] {
        if (checksumOffset_ == 0) return;
        LARGE_INTEGER offset{};
        offset.QuadPart = checksumOffset_;
        Check(::SetFilePointerEx(output, offset, nullptr, FILE_BEGIN));
        Reported(IDS_CANNOT_WRITE, outputPath_, [&] { WriteFully(output, core::EncodeChecksum(checksum)); });
    });
}

// The encrypted copy is flushed and in place under its name before the plain file is
// touched, and once overwriting has begun it is the only intact copy: from then on it is
// kept whatever fails.
void CFileEncryption::Encrypt(bool& keepOutput) {
    if (outputFinished_) return WipeInput(keepOutput);
    bool createdWithSecurity = false;
    {
        const FileHandle input =
            OpenExisting(inputPath_, GENERIC_READ | DELETE, FILE_SHARE_READ, IDS_CANNOT_OPEN);
        const FileHandle output = CreateOutput(createdWithSecurity);
        Check(WriteFileHeader(output.get()));
        const std::uint64_t sum = TransferPayload(input.get(), output.get(), keys_.PrimaryCipher(), true);
        Check(WriteCheckSum(output.get(), sum));
        Require(::FlushFileBuffers(output.get()), IDS_CANNOT_WRITE, outputPath_);
    }
    Check(CopyFileAttributes(!createdWithSecurity));
    // The last moment a cancel keeps everything as it was: a wipe once begun is finished.
    StopIfCancelled();
    MoveOutputIntoPlace();
    WipeInput(keepOutput);
}

// The plain file is wiped under an unfinished name: a run that dies during the wipe leaves
// no half-overwritten file under the name the user knows, only the encrypted copy and a
// leftover that the next run removes.
void CFileEncryption::WipeInput(bool& keepOutput) {
    const std::wstring aside = SetInputAside();
    const HRESULT wiped = DeleteAndWipeOutFile(aside, true, &keepOutput, inputPath_);
    if (SUCCEEDED(wiped)) return;
    // Nothing overwritten: the plain file goes back to its name, or the encrypted copy stays.
    if (keepOutput || !PathExists(aside) ||
        !::MoveFileExW(aside.c_str(), inputPath_.c_str(), MOVEFILE_WRITE_THROUGH))
        keepOutput = true;
    ThrowHr(wiped);
}

std::wstring CFileEncryption::SetInputAside() {
    for (unsigned attempt = 1;; ++attempt) {
        std::wstring aside = UnfinishedPath(inputPath_, attempt);
        if (::MoveFileExW(inputPath_.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH)) {
            ::SetFileAttributesW(aside.c_str(), ::GetFileAttributesW(aside.c_str()) | FILE_ATTRIBUTE_HIDDEN);
            return aside;
        }
        const HRESULT hr = HResultFromWin32(::GetLastError());
        if (!IsNameTaken(hr) || attempt == kUnfinishedAttempts) {
            report_.AddEntry(IDS_CANNOT_DELETE, inputPath_, hr);
            ThrowHr(hr);
        }
    }
}

HRESULT CFileEncryption::DoEncryptDecrypt(bool /*recordItem*/) {
    CTraceScope scope("CFileEncryption::DoEncryptDecrypt");
    bool keepOutput = false;
    const HRESULT hr = Guarded(scope, [&] { Encrypt(keepOutput); });
    if (FAILED(hr)) {
        if (!keepOutput) RemovePartialOutput();
        return hr;
    }
    UpdateDecryptedItems(inputPath_, false);
    return hr;
}

void CFileEncryption::ReportSummary() {
    AddSummary(IDS_SUMMARY_ENCRYPT);
}

HRESULT CFileEncryption::UpdateDecryptedItems(const std::wstring& path, bool isFolder) {
    return UpdateStore(false, path, isFolder);
}
