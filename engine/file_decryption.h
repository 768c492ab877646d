#pragma once
#include <memory>

#include "engine/encryption_decryption.h"

// The decrypt command: every encrypted file, in either format, becomes the plain file named
// in its header, beside it; the encrypted file is deleted only once the plain file is complete
// and its checksum matches, or, for a sealed file, every byte of it was authentic.
class CFileDecryption : public CEncryptionDecryption {
public:
    CFileDecryption(IRunObserver& observer, std::span<const BYTE> secret);

    std::u16string Summary() const override;
    int GetOperationKind() const override { return kOperationDecrypt; }
    HRESULT UpdateDecryptedItems(const std::wstring& path, bool isFolder) override;

protected:
    std::optional<FileOutcome> CheckInputFile() override;
    bool CreateOutFileName() override;
    void WriteOutput() override;
    void ReadyInputForRemoval() override;
    void RemoveInput() override;
    void FileDone() override;

    // Reads the held input's header in the format its magic tells. S_OK for an accepted header,
    // S_FALSE for a file that is not one (or has no checksum or no acceptable name), a failure
    // status when it cannot be read or, for a sealed file, is refused (entry 88).
    HRESULT ReadFileHeader();
    // Whether the file in hand is a sealed file that was refused: one the report already
    // says is altered or damaged.
    bool SealedFileRefused() const { return sealedRefused_; }

private:
    // ReadFileHeader's steps for each format.
    HRESULT ReadZteHeader();
    HRESULT OpenSealedFile();
    // Deciphers the payload into the new output, checksum or authentication verified;
    // otherwise reported and thrown.
    void DecryptZtePayload();
    void DecryptSealedContent(core::SealedFileReader& sealed);
    // Entry 88 for the input, then thrown.
    [[noreturn]] void RefuseSealedFile();

    std::uint64_t storedChecksum_ = 0;
    std::uint32_t headerSize_ = 0;
    const core::ChunkCipher* currentCipher_ = nullptr;
    // The sealed file in hand, its name opened, and what it is read through.
    std::unique_ptr<ReportedFile> sealedInput_;
    std::unique_ptr<core::SealedFileReader> sealed_;
    bool sealedRefused_ = false;
};
