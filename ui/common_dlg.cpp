#include "ui/common_dlg.h"

#include <algorithm>

#include "ui/selection_buffer.h"

CCommonDlg::CCommonDlg(HWND owner, std::wstring title, LPOFNHOOKPROC hook)
    : owner_(owner), title_(std::move(title)), hook_(hook) {}

std::size_t CCommonDlg::FilterEnd() const {
    std::size_t end = 0;
    while (end < kFilterUnits && filter_[end] != L'\0')
        end = std::find(filter_ + end, filter_ + kFilterUnits, L'\0') - filter_ + 1;
    return end;
}

bool CCommonDlg::AppendFilter(const std::wstring& description, const std::wstring& pattern) {
    if (description.empty() || pattern.empty()) return false;
    const std::size_t end = FilterEnd();
    // Both parts with their zeros, and the zero that ends the whole.
    const std::size_t needed = description.size() + 1 + pattern.size() + 1 + 1;
    if (end + needed > kFilterUnits) return false;
    wchar_t* next = std::copy(description.begin(), description.end(), filter_ + end);
    *next++ = L'\0';
    next = std::copy(pattern.begin(), pattern.end(), next);
    *next++ = L'\0';
    *next = L'\0';
    return true;
}

int CCommonDlg::ChooseFiles() {
    CStringList::operator=(CStringList());
    file_.assign(kFileUnits, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter_[0] != L'\0' ? filter_ : nullptr;
    dialog.lpstrFile = file_.data();
    dialog.nMaxFile = static_cast<DWORD>(file_.size());
    dialog.lpstrTitle = title_.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                   OFN_HIDEREADONLY | OFN_ENABLEHOOK;
    dialog.lCustData = reinterpret_cast<LPARAM>(this);
    dialog.lpfnHook = Hook;
    // The caller's hook answers help requests, which come only from the dialog's Help button.
    if (hook_) dialog.Flags |= OFN_SHOWHELP;
    if (!::GetOpenFileNameW(&dialog)) return 2;
    AppendSelection(file_, *this);
    return 1;
}

UINT_PTR CALLBACK CCommonDlg::Hook(HWND hookDialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // An Explorer-style dialog's hook runs in a child of the dialog's frame; the dialog hands
    // it the record it works with, whose buffer it writes the choice into.
    const HWND frame = ::GetParent(hookDialog);
    if (message == WM_INITDIALOG) {
        auto& dialog = *reinterpret_cast<OPENFILENAMEW*>(lParam);
        ::SetWindowLongPtrW(hookDialog, DWLP_USER, dialog.lCustData);
        reinterpret_cast<CCommonDlg*>(dialog.lCustData)->openCommand_.Watch(frame, dialog);
    }
    // Only the dialog's font may come before WM_INITDIALOG, and no hook needs it.
    auto* self = reinterpret_cast<CCommonDlg*>(::GetWindowLongPtrW(hookDialog, DWLP_USER));
    if (!self) return 0;
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_SELCHANGE)
        self->FitChoice(frame, *reinterpret_cast<const OFNOTIFYW*>(lParam)->lpOFN);
    return self->hook_ ? self->hook_(hookDialog, message, wParam, lParam) : 0;
}

// The dialog writes the folder and each name with their zeros, and a final zero. Several names
// take more units than that in the file name box, quoted and separated; a single one is
// written behind the folder and a backslash. The folder's and the box's units, each counted
// with its zero, and one more hold either.
void CCommonDlg::FitChoice(HWND frame, OPENFILENAMEW& dialog) {
    const LRESULT folderUnits = ::SendMessageW(frame, CDM_GETFOLDERPATH, 0, 0);
    const LRESULT nameUnits = ::SendMessageW(frame, CDM_GETSPEC, 0, 0);
    if (folderUnits < 0 || nameUnits < 0) return;
    const std::size_t needed =
        static_cast<std::size_t>(folderUnits) + static_cast<std::size_t>(nameUnits) + 1;
    if (needed <= file_.size()) return;
    file_.resize(needed);
    dialog.lpstrFile = file_.data();
    dialog.nMaxFile = static_cast<DWORD>(file_.size());
}

void CCommonDlg::COpenCommand::Watch(HWND frame, OPENFILENAMEW& dialog) {
    dialog_ = &dialog;
    Attach(frame);
}

LRESULT CCommonDlg::COpenCommand::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) chooser_.FitChoice(Window(), *dialog_);
    return Default(message, wParam, lParam);
}
