#pragma once
#include "engine/file_decryption.h"

// Opening an encrypted file from the shell: decrypts it as the decrypt command does, then
// opens the plain file with the program associated with its type.
class CFileDecryptAndOpen : public CFileDecryption {
public:
    using CFileDecryption::CFileDecryption;

    int GetOperationKind() const override { return kOperationDecryptAndOpen; }

protected:
    std::optional<FileOutcome> CheckInputFile() override;
    void FileDone() override;

    // Hands the file to the shell's "open"; whether a program was found is not an error.
    virtual void OpenWithShell(const std::wstring& path);

private:
    // Opens the file unless the shell would open it with this very program, which would only
    // start again on the same file, and again; a path too long for the shell is reported.
    void OpenUnlessItIsOurs(const std::wstring& path);
    // Whether the plain file's name is the encrypted file's own name without ".zte".
    bool IsTheNameOpened() const;
};

// Whether the shell's "open" command for files of this path's type starts the given program.
bool OpensWith(const std::wstring& path, const std::wstring& program);
