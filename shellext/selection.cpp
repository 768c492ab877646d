#include "shellext/selection.h"

#include <windows.h>
// shlobj.h needs windows.h first.
#include <shlobj.h>

#include "shellext/shell_folder.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

namespace {

// Only this exact, lower-case extension marks an encrypted file: "REPORT.ZTE" is plain.
bool IsEncryptedName(const std::wstring& name) {
    return ExtensionOf(name) == L".zte";
}

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

}  // namespace

void CSelection::AddSelectedPath(const std::wstring& path) {
    if (IsInShellFolder(path, CSIDL_STARTMENU) || IsInShellFolder(path, CSIDL_WINDOWS)) return;
    if (!BothKnown()) {
        const DWORD attributes = ::GetFileAttributesW(LongPathForm(path).c_str());
        // A path whose attributes cannot be read is looked into as a folder: listing it finds
        // nothing when it is none.
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ScanFolder(path);
        } else {
            ClassifyFile(path);
        }
    }
    quotedPaths_.push_back(u"\"" + ToU16(path) + u"\"");
}

void CSelection::ClassifyFile(const std::wstring& name) {
    if (IsEncryptedName(name)) {
        offerDecrypt_ = true;
    } else {
        offerEncrypt_ = true;
    }
}

void CSelection::ScanFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    const FindHandle search(::FindFirstFileW(LongPathForm(JoinPath(folder, L"*")).c_str(), &entry));
    if (!search) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!IsDotEntry(entry.cFileName)) ScanFolder(JoinPath(folder, entry.cFileName));
        } else {
            ClassifyFile(entry.cFileName);
        }
    } while (!BothKnown() && ::FindNextFileW(search.get(), &entry));
}
