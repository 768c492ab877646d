#pragma once
#include <windows.h>

#include <commdlg.h>

#include <span>
#include <string>
#include <vector>

#include "text/string_containers.h"
#include "ui/window_subclass.h"

// The open-file dialog for choosing files to process; after ChooseFiles the list holds the
// chosen paths, however many there are.
class CCommonDlg : public CStringList {
public:
    static constexpr std::size_t kFilterUnits = 260;
    // The file buffer's size before the dialog's choice asks for more.
    static constexpr std::size_t kFileUnits = 2048;

    // The hook, when given, sees every message of the dialog's hook window from WM_INITDIALOG
    // on, after this class has seen it, and answers the Help button, which the dialog then shows.
    CCommonDlg(HWND owner, std::wstring title, LPOFNHOOKPROC hook = nullptr);

    // Adds a choice to the dialog's type list. False, with the list as it was, when the pair
    // does not fit or a part is empty.
    bool AppendFilter(const std::wstring& description, const std::wstring& pattern);
    // 1 when the user confirmed; 2 when the dialog was cancelled or failed.
    int ChooseFiles();

    // Pairs of description and pattern, each zero-terminated, the whole ending in an extra zero.
    std::span<const wchar_t> Filter() const { return filter_; }

private:
    // Sees the dialog's Open command before the dialog does: names typed into the file name
    // box tell the hook nothing, and the buffer must hold them before the dialog writes them.
    class COpenCommand : public CWindowSubclass {
    public:
        explicit COpenCommand(CCommonDlg& chooser) : chooser_(chooser) {}
        void Watch(HWND frame, OPENFILENAMEW& dialog);

    protected:
        LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        CCommonDlg& chooser_;
        OPENFILENAMEW* dialog_ = nullptr;
    };

    static UINT_PTR CALLBACK Hook(HWND hookDialog, UINT message, WPARAM wParam, LPARAM lParam);
    // Grows the file buffer, and the dialog's record of it, to hold what the dialog's frame
    // shows as chosen.
    void FitChoice(HWND frame, OPENFILENAMEW& dialog);
    // Where the next pair goes: behind the zero of the last pattern.
    std::size_t FilterEnd() const;

    HWND owner_;
    std::wstring title_;
    LPOFNHOOKPROC hook_;
    wchar_t filter_[kFilterUnits] = {};
    std::vector<wchar_t> file_;
    COpenCommand openCommand_{*this};
};
