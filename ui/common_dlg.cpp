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
    std::fill(std::begin(file_), std::end(file_), L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter_[0] != L'\0' ? filter_ : nullptr;
    dialog.lpstrFile = file_;
    dialog.nMaxFile = kFileUnits;
    dialog.lpstrTitle = title_.c_str();
    dialog.Flags =
        OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (hook_) {
        // The hook answers help requests, which come only from the dialog's Help button.
        dialog.Flags |= OFN_ENABLEHOOK | OFN_SHOWHELP;
        dialog.lpfnHook = hook_;
    }
    if (!::GetOpenFileNameW(&dialog)) return 2;
    AppendSelection(file_, *this);
    return 1;
}
