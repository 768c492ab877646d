#include "engine/file_decryption.h"

#include "core/zte_header.h"
#include "engine/engine_ids.h"
#include "engine/standard_header.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/path_parts.h"
#include "win/wide_text.h"

using ZTTraceNS::CTraceScope;
using ZTTraceNS::Trace;

CFileDecryption::CFileDecryption(HWND parent, std::span<const BYTE> secret)
    : CEncryptionDecryption(parent, secret, IDS_PROGRESS_DECRYPT) {}

int CFileDecryption::CheckInputFile() {
    CTraceScope scope("CFileDecryption::CheckInputFile");
    const FileHandle input(::CreateFileW(inputPath_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!input) {
        report_.AddEntry(IDS_CANNOT_OPEN, inputPath_, S_OK);
        return 1;
    }
    const HRESULT hr = ReadFileHeader(input.get());
    return hr == S_FALSE ? 1 : hr;
}

HRESULT CFileDecryption::ReadFileHeader(HANDLE input) {
    CTraceScope scope("CFileDecryption::ReadFileHeader");
    return Guarded(scope, [&]() -> HRESULT {
        CStandardHeader header;
        const HRESULT read = header.Read(input);
        if (FAILED(read)) {
            report_.AddEntry(IDS_CANNOT_READ, inputPath_, read);
            return read;
        }
        if (read != S_OK) return S_FALSE;
        // A stored name the container refuses is never joined to a folder.
        const std::optional<core::AcceptedHeader> accepted = header.Accept();
        if (!accepted) return S_FALSE;
        headerSize_ = accepted->headerSize;
        storedChecksum_ = accepted->checksum;
        currentCipher_ =
            accepted->useCompatibilityKey ? &keys_.CompatibilityCipher() : &keys_.PrimaryCipher();
        outputPath_ = FolderOf(inputPath_) + ToWide(accepted->fileName);
        Trace(scope, 0, "FileName = %ls", outputPath_.c_str());
        return S_OK;
    });
}

bool CFileDecryption::CreateOutFileName() {
    CTraceScope scope("CFileDecryption::CreateOutFileName");
    return MayWriteOutput(inputPath_, outputPath_);
}

void CFileDecryption::Decrypt() {
    if (outputFinished_) return Check(DeleteAndWipeOutFile(inputPath_, false));
    bool createdWithSecurity = false;
    {
        const FileHandle input =
            OpenExisting(inputPath_, GENERIC_READ | DELETE, FILE_SHARE_READ, IDS_CANNOT_OPEN);
        const FileHandle output = CreateOutput(createdWithSecurity);
        LARGE_INTEGER offset{};
        offset.QuadPart = headerSize_;
        Require(::SetFilePointerEx(input.get(), offset, nullptr, FILE_BEGIN), IDS_CANNOT_COPY_PROPERTIES,
                inputPath_);
        const std::uint64_t sum = TransferPayload(input.get(), output.get(), *currentCipher_, false);
        if (sum != storedChecksum_) {
            report_.AddEntry(IDS_WRONG_KEY, inputPath_, NTE_BAD_KEY);
            ThrowHr(NTE_BAD_KEY);
        }
        // The plain file is on disk before the encrypted one goes.
        Require(::FlushFileBuffers(output.get()), IDS_CANNOT_WRITE, outputPath_);
    }
    Check(CopyFileAttributes(!createdWithSecurity));
    MoveOutputIntoPlace();
    Check(DeleteAndWipeOutFile(inputPath_, false));
}

HRESULT CFileDecryption::DoEncryptDecrypt(bool recordItem) {
    CTraceScope scope("CFileDecryption::DoEncryptDecrypt");
    const HRESULT hr = Guarded(scope, [&] { Decrypt(); });
    if (FAILED(hr)) {
        RemovePartialOutput();
        return hr;
    }
    if (recordItem) UpdateDecryptedItems(outputPath_, false);
    return hr;
}

void CFileDecryption::ReportSummary() {
    AddSummary(IDS_SUMMARY_DECRYPT);
}

HRESULT CFileDecryption::UpdateDecryptedItems(const std::wstring& path, bool isFolder) {
    return UpdateStore(true, path, isFolder);
}
