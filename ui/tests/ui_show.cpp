// Shows one of the program's dialogs for show-dialogs to photograph and close, and prints what
// it returned: confirm FILE | progress TITLEID FILE... (halfway through the first file, until
// Cancel, 60 s at most) | report FILE | message STRINGID. The password dialog is the secret's,
// photographed by the demo where it really runs.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/resources/resource_ids.h"
#include "text/message_box.h"
#include "text/res_string.h"
#include "ui/confirm_dlg.h"
#include "ui/progress_dlg.h"
#include "ui/report_dlg.h"

namespace {

std::uint64_t SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

int ShowProgress(UINT titleId, const std::vector<std::wstring>& files) {
    CProgressDlg progress(nullptr, LoadResString(titleId));
    std::uint64_t total = 0;
    for (const std::wstring& file : files) total += SizeOf(file);
    progress.SetTotalRange(total);
    progress.Initialize(files.front().c_str());
    progress.SetPos(SizeOf(files.front()) / 2);
    for (int i = 0; i < 600 && !progress.IsCancelled(); ++i) ::Sleep(100);
    progress.CloseProgress();
    return progress.IsCancelled() ? 0 : 1;
}

// A sample of what a run reports: a skipped item, a failure the system explains, one it does
// not, and the summary.
int ShowReport(const std::wstring& file) {
    CReport report;
    report.AddEntry(IDS_SKIPPED_HIDDEN, file, S_OK);
    report.AddEntry(IDS_CANNOT_OPEN, file, HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    report.AddEntry(IDS_CANNOT_WRITE, file, static_cast<HRESULT>(0xA0F71234));
    report.Add(L"Files encrypted: 12");
    return CReportDlg(report, 1).DoModal(nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::InitCommonControls();
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    int answer = -1;
    if (args.size() == 2 && args[0] == L"confirm") answer = CConfirmDlg(args[1]).Ask(nullptr);
    if (args.size() >= 3 && args[0] == L"progress")
        answer = ShowProgress(static_cast<UINT>(std::stoi(args[1])), {args.begin() + 2, args.end()});
    if (args.size() == 2 && args[0] == L"report") answer = ShowReport(args[1]);
    if (args.size() == 2 && args[0] == L"message")
        answer = ShowMessage(nullptr, static_cast<UINT>(std::stoi(args[1])), kErrorMessageStyle);
    if (answer == -1) {
        std::fputs("usage: ui_show confirm FILE | progress TITLEID FILE... | report FILE | message ID\n",
                   stderr);
        return 2;
    }
    std::printf("answer %d\n", answer);
    return 0;
}
