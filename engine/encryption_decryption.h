#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "core/operation_kind.h"
#include "engine/file_keys.h"
#include "store/decrypted_items.h"
#include "ui/progress_dlg.h"
#include "ui/report.h"
#include "win/hresult.h"
#include "win/unique_handle.h"

// One run of an engine over the files the user chose: the keys from the user's secret, the
// progress dialog, the report and the decrypted-items store. The engines fill in the
// per-file steps; ProcessFile drives them.
class CEncryptionDecryption {
public:
    virtual ~CEncryptionDecryption();
    CEncryptionDecryption(const CEncryptionDecryption&) = delete;
    CEncryptionDecryption& operator=(const CEncryptionDecryption&) = delete;

    // 1 when the file is skipped, a failure status, or the engine's result for the file.
    // recordItem is true for a file the user named, not one found in a chosen folder.
    int ProcessFile(const std::wstring& path, bool recordItem);

    virtual void ReportSummary() = 0;
    virtual int GetOperationKind() const = 0;
    virtual HRESULT UpdateDecryptedItems(const std::wstring& path, bool isFolder) = 0;

    bool IsCancelled() const;
    void SetTotalRange(std::uint64_t total);
    void SkipFile(const std::wstring& path);

    const CReport& Report() const { return report_; }
    // The walk adds the entries for the items it skips.
    CReport& Report() { return report_; }
    int ProcessedCount() const { return processed_; }
    // Null when the dialog could not be made.
    CProgressDlg* Progress() const { return progress_.get(); }

protected:
    // Throws HResultError when no key can be made from the secret.
    CEncryptionDecryption(HWND parent, std::span<const BYTE> secret, UINT captionId);

    // Negative: failure; 0: go on; 1: skip the file.
    virtual int CheckInputFile() = 0;
    // False when the output exists and the file is skipped.
    virtual bool CreateOutFileName() = 0;
    virtual HRESULT DoEncryptDecrypt(bool recordItem) = 0;

    // Creates a new file (never replacing one) with the access rules and group of the
    // security source. Throws on failure; an owner the system refuses is reported as such.
    FileHandle CreateOutputFile(const std::wstring& output, DWORD access, DWORD share,
                                const std::wstring& securitySource, bool& createdWithSecurity,
                                DWORD attributes = FILE_ATTRIBUTE_NORMAL);
    // The output for the file in hand, hidden under an unfinished name beside the input and
    // protected like it (workPath_); a failure is reported with entry 13 for the output path
    // (or 43 for a refused owner) and thrown.
    FileHandle CreateOutput(bool& createdWithSecurity);
    // Copies creation time, attributes and, if asked, DACL, group and owner from the input
    // to the output.
    HRESULT CopyFileAttributes(bool copySecurity);
    // Moves the complete, flushed output from its unfinished name to the output path without
    // replacing anything (entry 28 when the name was taken meanwhile, 13 for another
    // failure), then removes what earlier runs left unfinished under that name.
    void MoveOutputIntoPlace();
    // Deletes the file, after overwriting its content with zeros if asked. overwriteBegan
    // tells whether any of the content may have been overwritten. Failures are reported
    // for shownAs (the path when empty).
    HRESULT DeleteAndWipeOutFile(const std::wstring& path, bool wipe, bool* overwriteBegan = nullptr,
                                 const std::wstring& shownAs = {});
    // The deletion itself; false with the last error set when the system refuses it.
    virtual bool RemoveFile(const std::wstring& path);

    // Reads the input from its position to its end in pieces of up to 1 MiB, enciphers or
    // deciphers each and writes it to the output; the sum is taken of the plain bytes. The
    // progress moves after every piece, and a cancel stops it before the next.
    std::uint64_t TransferPayload(HANDLE input, HANDLE output, const core::ChunkCipher& cipher,
                                  bool encipher);
    // Throws E_ABORT with entry 29 once the user has cancelled.
    void StopIfCancelled();
    // Opens an existing file; a failure is reported under messageId with the error.
    FileHandle OpenExisting(const std::wstring& path, DWORD access, DWORD share, UINT messageId);
    // Adds the entry with the last error and throws it when ok is false.
    void Require(BOOL ok, UINT messageId, const std::wstring& path);
    // Runs the step; a failure it raises is reported under messageId for the path and raised on.
    template <class Step>
    auto Reported(UINT messageId, const std::wstring& path, Step&& step) -> decltype(step()) {
        try {
            return step();
        } catch (const HResultError& error) {
            report_.AddEntry(messageId, path, error.code());
            throw;
        }
    }
    // True when the output path is free, or when it holds exactly what this input gives (a
    // run that died after moving its output into place left both): then only the input's
    // removal is left to do (outputFinished_). Otherwise entry 28 and false.
    bool MayWriteOutput(const std::wstring& encrypted, const std::wstring& plain);
    // After a failure: deletes the output that this engine created for the file.
    void RemovePartialOutput();
    // Adds the summary line: string messageId filled with the processed count.
    void AddSummary(UINT messageId);
    HRESULT UpdateStore(bool add, const std::wstring& path, bool isFolder);

    CFileKeys keys_;
    std::unique_ptr<CProgressDlg> progress_;
    CReport report_;
    std::wstring inputPath_;
    std::wstring outputPath_;
    // Where the output is: its unfinished name until it is complete, then the output path.
    std::wstring workPath_;
    // Set once this engine created the file at the work path, so that a clean-up never
    // deletes a file that was there before.
    bool outputCreated_ = false;
    // Set when the output was found finished under its name before the file was begun.
    bool outputFinished_ = false;
    int processed_ = 0;

private:
    bool DialogIsUp() const { return progress_ && progress_->Window(); }
    // Fills the buffer from the input; a failure is reported and thrown.
    std::size_t ReadInput(HANDLE input, std::span<BYTE> buffer);
    void WipeContent(const std::wstring& path, const std::wstring& shownAs, bool& overwriteBegan);
    void CopySecurity();

    CDecryptedItems store_;
};
