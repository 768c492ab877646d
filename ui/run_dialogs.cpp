#include "ui/run_dialogs.h"

#include "ui/confirm_dlg.h"
#include "ui/report_dlg.h"

CRunDialogs::CRunDialogs(HWND owner) : owner_(owner) {}

CRunDialogs::~CRunDialogs() = default;

void CRunDialogs::ShowProgress(std::wstring title) {
    progress_ = std::make_unique<CProgressDlg>(owner_, std::move(title));
}

void CRunDialogs::SetTotal(std::uint64_t bytes) {
    if (DialogIsUp()) progress_->SetTotalRange(bytes);
}

void CRunDialogs::BeginFile(const std::wstring& path) {
    if (DialogIsUp()) progress_->Initialize(path.c_str());
}

void CRunDialogs::Advance(std::uint64_t bytes) {
    if (DialogIsUp()) progress_->SetPos(bytes);
}

void CRunDialogs::SkipFile(const std::wstring& path) {
    if (DialogIsUp()) progress_->SkipFile(path);
}

bool CRunDialogs::IsCancelled() const {
    return progress_ && progress_->IsCancelled();
}

// The question stands in front of the progress dialog, which the user is watching.
ConfirmAnswer CRunDialogs::Confirm(const std::wstring& path) {
    return CConfirmDlg(path).Ask(progress_ ? progress_->Window() : nullptr);
}

void CRunDialogs::AddEntry(UINT messageId, const std::wstring& path, HRESULT status) {
    report_.AddEntry(messageId, path, status);
}

void CRunDialogs::Finish(int operationKind, std::u16string_view summary, UINT closingEntryId) {
    if (progress_) progress_->CloseProgress();
    // Lets the progress window vanish before the report comes up in its place.
    ::Sleep(100);
    if (report_.Count() == 0 && closingEntryId == 0) return;
    report_.AddParagraph(summary);
    if (closingEntryId != 0) report_.AddEntry(closingEntryId, L"", S_OK);
    CReportDlg dialog(report_, operationKind);
    dialog.DoModal(owner_);
}
