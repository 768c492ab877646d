#pragma once
#include <windows.h>

#include <commdlg.h>

#include <span>
#include <string>

#include "text/string_list.h"

// The open-file dialog for choosing files to process; after ChooseFiles the list holds the
// chosen paths.
class CCommonDlg : public CStringList {
public:
    static constexpr std::size_t kFilterUnits = 260;
    static constexpr std::size_t kFileUnits = 2048;

    CCommonDlg(HWND owner, std::wstring title, LPOFNHOOKPROC hook = nullptr);

    // Adds a choice to the dialog's type list. False, with the list as it was, when the pair
    // does not fit or a part is empty.
    bool AppendFilter(const std::wstring& description, const std::wstring& pattern);
    // 1 when the user confirmed; 2 when the dialog was cancelled or failed, which includes a
    // choice too long for the dialog's buffer.
    int ChooseFiles();

    // Pairs of description and pattern, each zero-terminated, the whole ending in an extra zero.
    std::span<const wchar_t> Filter() const { return filter_; }

private:
    // Where the next pair goes: behind the zero of the last pattern.
    std::size_t FilterEnd() const;

    HWND owner_;
    std::wstring title_;
    LPOFNHOOKPROC hook_;
    wchar_t filter_[kFilterUnits] = {};
    wchar_t file_[kFileUnits] = {};
};
