#include "engine/file_decryption_and_open.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "engine/engine_ids.h"
#include "win/hresult.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/this_module.h"

namespace {

// The open command registered for the type, empty when there is none.
std::wstring OpenCommand(const std::wstring& extension) {
    DWORD length = 0;
    if (::AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, extension.c_str(), L"open", nullptr,
                            &length) != S_FALSE ||
        length == 0)
        return {};
    std::wstring command(length, L'\0');
    if (FAILED(::AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, extension.c_str(), L"open",
                                   command.data(), &length)))
        return {};
    command.resize(command.find(L'\0'));
    return command;
}

}  // namespace

bool OpensWith(const std::wstring& path, const std::wstring& program) {
    const std::wstring extension = ExtensionOf(path);
    if (extension.empty() || program.empty()) return false;
    std::wstring command = OpenCommand(extension);
    // The program comes first, quoted or, as registration writes it, unquoted.
    if (!command.empty() && command.front() == L'"') command.erase(0, 1);
    if (command.size() < program.size()) return false;
    const wchar_t next = command.size() > program.size() ? command[program.size()] : L'\0';
    return (next == L'\0' || next == L'"' || next == L' ') &&
           ::CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, command.c_str(),
                            static_cast<int>(program.size()), program.c_str(),
                            static_cast<int>(program.size())) == CSTR_EQUAL;
}

std::optional<FileOutcome> CFileDecryptAndOpen::CheckInputFile() {
    const std::optional<FileOutcome> ended = CFileDecryption::CheckInputFile();
    // A file that opened but whose header could not be read may be something the shell
    // knows how to open; one that is not an encrypted file is left alone, and so is a sealed
    // file that was refused. The program that opens it must find it free.
    if (ended && ended->IsFailure() && !SealedFileRefused()) {
        ReleaseFile();
        OpenUnlessItIsOurs(file_.inputPath);
    }
    return ended;
}

void CFileDecryptAndOpen::FileDone() {
    CFileDecryption::FileDone();
    ReleaseFile();
    if (IsTheNameOpened())
        OpenUnlessItIsOurs(file_.outputPath);
    else
        observer_.AddEntry(IDS_NOT_OPENED, file_.outputPath, S_OK);
}

// Anyone who knows a kilobyte of one of the user's files can forge an encrypted file whose
// stored name is of any type: a "report.pdf.zte" holding "report.js" would run a script on a
// double-click. The shell gets only the file the encrypted file's own name promised. A sealed
// file's stored name is authentic, but its own name is not: the same rule holds for it.
bool CFileDecryptAndOpen::IsTheNameOpened() const {
    constexpr std::wstring_view kExtension = L".zte";
    const std::wstring encryptedName = FileNameOf(file_.inputPath);
    if (encryptedName.size() <= kExtension.size()) return false;
    const std::wstring_view name(encryptedName);
    return SameNameIgnoringCase(name.substr(name.size() - kExtension.size()), kExtension) &&
           SameNameIgnoringCase(name.substr(0, name.size() - kExtension.size()),
                                FileNameOf(file_.outputPath));
}

// The shell takes no extended-length path, nor do most programs it would start; a file whose
// path is too long even in its short form is decrypted and left for the user to open.
void CFileDecryptAndOpen::OpenUnlessItIsOurs(const std::wstring& path) {
    if (OpensWith(path, ModuleFileName(nullptr))) return;
    const std::wstring plain = PlainPathForm(path);
    if (plain.empty()) {
        observer_.AddEntry(IDS_PATH_TOO_LONG_TO_OPEN, path, HResultFromWin32(ERROR_FILENAME_EXCED_RANGE));
        return;
    }
    OpenWithShell(plain);
}

void CFileDecryptAndOpen::OpenWithShell(const std::wstring& path) {
    ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOW);
}
