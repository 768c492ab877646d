#pragma once
#include "engine/encryption_decryption.h"
#include "text/string_containers.h"

// The encrypt command: every file becomes "<name>.zte" beside it, in the format chosen (the
// first one unless the sealed one is), and the plain file is overwritten and deleted once the
// encrypted copy is safely on disk.
class CFileEncryption : public CEncryptionDecryption {
public:
    // format is Zte or Sealed.
    CFileEncryption(IRunObserver& observer, std::span<const BYTE> secret,
                    core::FileFormat format = core::FileFormat::Zte);

    std::u16string Summary() const override;
    int GetOperationKind() const override { return kOperationEncrypt; }
    HRESULT UpdateDecryptedItems(const std::wstring& path, bool isFolder) override;

protected:
    std::optional<FileOutcome> CheckInputFile() override;
    bool CreateOutFileName() override;
    void WriteOutput() override;
    void ReadyInputForRemoval() override;
    void RemoveInput() override;
    void FileDone() override;

    HRESULT WriteFileHeader(HANDLE output);
    HRESULT WriteCheckSum(HANDLE output, std::uint64_t checksum);
    // Whether the held input has streams beside its unnamed one.
    virtual bool HoldsNamedStreams() const;

private:
    // CheckInputFile's steps; a failure is reported and thrown.
    std::optional<FileOutcome> CheckPlainInput();
    // False when the file is of a type the user declined to encrypt.
    bool Confirmed();
    // The report entry for a file that encryption would not carry whole or whose wipe would
    // reach beyond the selection: a link (its target would be wiped, only the link deleted), a
    // file with several names (its content would be wiped under all of them) or with named
    // streams (only the unnamed one is encrypted); 0 for a plain file.
    UINT SkipReason() const;
    // Writes the whole encrypted file into the new output, in the format chosen.
    void WriteZteOutput();
    void WriteSealedOutput();
    void KeepInputUnlessOverwritten();
    // Moves the held plain file to an unfinished name of its own and hides it there, and
    // returns that name; a failure is reported with entry 14 and thrown.
    std::wstring SetInputAside();
    // Gives the set-aside plain file back its name and attributes, as far as the system lets.
    void PutInputBack();

    CLowerCaseStringSet confirmationSet_;
    ConfirmAnswer answer_ = kAnswerNo;
    core::FileFormat format_;
    std::uint16_t checksumOffset_ = 0;
};
