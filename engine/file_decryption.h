#pragma once
#include "engine/encryption_decryption.h"

// The decrypt command: every encrypted file becomes the plain file named in its header,
// beside it; the encrypted file is deleted only once the plain file is complete and its
// checksum matches.
class CFileDecryption : public CEncryptionDecryption {
public:
    CFileDecryption(IRunObserver& observer, std::span<const BYTE> secret);

    std::u16string Summary() const override;
    int GetOperationKind() const override { return kOperationDecrypt; }
    HRESULT UpdateDecryptedItems(const std::wstring& path, bool isFolder) override;

protected:
    std::optional<FileOutcome> CheckInputFile() override;
    bool CreateOutFileName() override;
    HRESULT DoEncryptDecrypt(bool recordItem) override;

    // S_OK for an accepted header, S_FALSE for a file that is not one (or has no checksum or
    // no acceptable name), a failure status when it cannot be read.
    HRESULT ReadFileHeader(HANDLE input);

private:
    void Decrypt();
    // The encrypted file goes once its plain file is in place.
    void RemoveEncryptedInput();

    std::uint64_t storedChecksum_ = 0;
    std::uint32_t headerSize_ = 0;
    const core::ChunkCipher* currentCipher_ = nullptr;
};
