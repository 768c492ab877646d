#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "text/run_observer.h"
#include "ui/progress_dlg.h"
#include "ui/report.h"

// A run as the user sees it: the progress dialog with its Cancel, the question before a
// risky file is encrypted, and at the end the report in its dialog, all owned by owner.
class CRunDialogs : public IRunObserver {
public:
    explicit CRunDialogs(HWND owner);
    ~CRunDialogs() override;
    CRunDialogs(const CRunDialogs&) = delete;
    CRunDialogs& operator=(const CRunDialogs&) = delete;

    // Puts up the progress dialog under that title. Until then, and when the dialog could not
    // be made, progress goes unseen and nothing is cancelled.
    void ShowProgress(std::wstring title);

    void SetTotal(std::uint64_t bytes) override;
    void BeginFile(const std::wstring& path) override;
    void Advance(std::uint64_t bytes) override;
    void SkipFile(const std::wstring& path) override;
    bool IsCancelled() const override;
    ConfirmAnswer Confirm(const std::wstring& path) override;
    void AddEntry(UINT messageId, const std::wstring& path, HRESULT status) override;
    // The progress dialog closes, and when the report has something to say the summary is
    // added and the report dialog shows it.
    void Finish(int operationKind, std::u16string_view summary, UINT closingEntryId) override;

    const CReport& Report() const { return report_; }
    // Null before ShowProgress or when the dialog could not be made.
    CProgressDlg* Progress() const { return progress_.get(); }

private:
    bool DialogIsUp() const { return progress_ && progress_->Window(); }

    HWND owner_;
    std::unique_ptr<CProgressDlg> progress_;
    CReport report_;
};
