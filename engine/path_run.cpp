#include "engine/path_run.h"

#include <cstdint>

#include "engine/encryption_decryption.h"
#include "engine/engine_ids.h"
#include "engine/unfinished_path.h"
#include "ui/folder_entries.h"
#include "ui/report_dlg.h"
#include "ui/total_size.h"

void WalkPaths(CEncryptionDecryption& engine, const CStringList& paths, const PathAction& processPath) {
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < paths.Count(); ++i) total += TotalSize(paths.GetAt(i));
    engine.SetTotalRange(total);
    for (std::size_t i = 0; i < paths.Count() && !engine.IsCancelled(); ++i) processPath(paths.GetAt(i));
}

HRESULT WalkFolder(CEncryptionDecryption& engine, const std::wstring& folder,
                   const PathAction& processEntry) {
    CStringList entries;
    const HRESULT listed = ListFolderEntries(folder, entries);
    if (FAILED(listed)) {
        engine.Report().AddEntry(IDS_CANNOT_LIST, folder, listed);
        return listed;
    }
    for (std::size_t i = 0; i < entries.Count(); ++i) processEntry(entries.GetAt(i));
    return S_OK;
}

bool TakenAsGoneOrLeftover(CEncryptionDecryption& engine, const std::wstring& path, DWORD attributes,
                           bool namedByUser) {
    const bool unfinished = IsUnfinishedPath(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        engine.SkipFile(path);
        if (namedByUser || !unfinished) engine.Report().AddEntry(IDS_NOT_FOUND, path, S_OK);
        return true;
    }
    if (!unfinished || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    engine.ProcessLeftover(path, namedByUser);
    return true;
}

void FinishRun(HWND owner, CEncryptionDecryption& engine, UINT closingEntryId) {
    if (CProgressDlg* progress = engine.Progress()) progress->CloseProgress();
    // Lets the progress window vanish before the report comes up in its place.
    ::Sleep(100);
    if (engine.Report().Count() == 0 && closingEntryId == 0) return;
    engine.ReportSummary();
    if (closingEntryId != 0) engine.Report().AddEntry(closingEntryId, L"", S_OK);
    CReportDlg dialog(engine.Report(), engine.GetOperationKind());
    dialog.DoModal(owner);
}
