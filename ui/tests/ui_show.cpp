// Shows one of the program's dialogs on the display, for the end-to-end script to look at
// and answer with uidrive, and prints what the dialog returned:
//
//   ui_show confirm FILE             the confirmation question for FILE
//   ui_show progress TITLEID FILE... the progress dialog halfway through the first file,
//                                    until Cancel is clicked (60 s at most)
//   ui_show report KIND FILE         a report of a run of KIND (1 encrypt, 2 decrypt)
//   ui_show message STRINGID         an error message box
//   ui_show password                 the password dialog's layout
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

void Print(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

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
    Print(progress.IsCancelled() ? "cancelled" : "not cancelled");
    return 0;
}

// A sample of what a run reports: a skipped item, a failure the system explains, one it
// does not, and the summary.
int ShowReport(int kind, const std::wstring& file) {
    CReport report;
    report.AddEntry(IDS_SKIPPED_HIDDEN, file, S_OK);
    report.AddEntry(IDS_CANNOT_OPEN, file, HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    report.AddEntry(IDS_CANNOT_WRITE, file, static_cast<HRESULT>(0xA0F71234));
    report.AddEntry(IDS_NOT_FOUND, L"C:\\Users\\Public\\Documents\\Old Notes.txt", S_OK);
    report.Add(kind == 1 ? L"Files encrypted: 12" : L"Files decrypted: 12");
    Print("answer " + std::to_string(CReportDlg(report, kind).DoModal(nullptr)));
    return 0;
}

// The password dialog belongs to the secret's code; here only its layout is shown.
class PasswordPreview : public CModalDialog {
public:
    PasswordPreview() : CModalDialog(IDD_PASSWORD) {}

private:
    bool OnInitDialog(HWND dialog) override {
        ::SetDlgItemTextW(dialog, IDC_PASSWORD_PROMPT, LoadResString(IDS_PASSWORD_PROMPT).c_str());
        return true;
    }
    bool OnCommand(HWND dialog, WORD id) override {
        if (id != IDOK && id != IDCANCEL) return false;
        ::EndDialog(dialog, id);
        return true;
    }
};

int Usage() {
    std::fputs(
        "usage: ui_show confirm FILE | progress TITLEID FILE... | report KIND FILE | message STRINGID | "
        "password\n",
        stderr);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::InitCommonControls();
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == L"confirm") {
        Print("answer " + std::to_string(CConfirmDlg(args[1]).Ask(nullptr)));
        return 0;
    }
    if (args.size() >= 3 && args[0] == L"progress") {
        return ShowProgress(static_cast<UINT>(std::stoi(args[1])), {args.begin() + 2, args.end()});
    }
    if (args.size() == 3 && args[0] == L"report") return ShowReport(std::stoi(args[1]), args[2]);
    if (args.size() == 2 && args[0] == L"message") {
        Print("answer " + std::to_string(ShowMessage(nullptr, static_cast<UINT>(std::stoi(args[1])),
                                                     kErrorMessageStyle)));
        return 0;
    }
    if (args.size() == 1 && args[0] == L"password") {
        PasswordPreview preview;
        Print("answer " + std::to_string(preview.DoModal(nullptr)));
        return 0;
    }
    return Usage();
}
