#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dashboard/resources/resource_ids.h"
#include "process_run.h"

// The title of the dashboard's sheet: the page's title, the product's name.
inline constexpr wchar_t kSheetTitle[] = L"Tapwise Crypto";

// One row of the page's list, as uidrive reads it from the dashboard's process.
struct PageRow {
    int check = 0;
    bool selected = false;
    bool cut = false;
    std::wstring name;
    std::wstring location;
};

// What uidrive printed and how it ended.
struct Driven {
    DWORD exitCode;
    std::wstring output;
};

// uidrive with the arguments, waiting at most timeoutMs for its window.
Driven Drive(const std::wstring& arguments, DWORD timeoutMs = 20000);

// The dashboard stand-in running with the registered plug-in, and what a person does on its
// page through uidrive. Every wait has a time limit; the dashboard is closed (or ended) when
// the object goes.
class DashboardRun {
public:
    // Starts ZTDashBoard.exe and waits until its sheet shows the page.
    DashboardRun();
    ~DashboardRun() {
        if (!closed_) Close();
    }
    DashboardRun(const DashboardRun&) = delete;
    DashboardRun& operator=(const DashboardRun&) = delete;

    HWND Page() const;
    HWND Control(int id) const { return ::GetDlgItem(Page(), id); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }

    std::vector<PageRow> Rows() const;
    // The row showing the item of that name; -1 when none does.
    int RowOf(const std::wstring& name) const;
    // Whether the rows come to satisfy the condition within the time, read every 200 ms.
    bool RowsBecome(const std::function<bool(const std::vector<PageRow>&)>& condition, DWORD ms = 5000) const;
    // The image of the header's check box: 0 unchecked, 1 checked.
    int HeaderCheck() const;

    // uidrive on the sheet with the actions.
    Driven OnSheet(const std::wstring& actions) const;
    // The actions, which must succeed.
    void Act(const std::wstring& actions) const;
    void ClickCheckBox(int row) const;
    void ClickName(int row, bool ctrl = false) const {
        Act((ctrl ? L"--ctrl-click-cell " : L"--click-cell ") + Cell(row, 1, 30));
    }
    // Near the right end of the location, where the link follows the "not found" text.
    void ClickLink(int row) const { Act(L"--click-cell " + Cell(row, 2, -10)); }
    void ClickHeaderCheckBox() const { Act(L"--click-column " + std::to_wstring(IDC_ITEMS) + L" 0"); }
    void Press(int id, const std::wstring& key) const { Act(L"--key " + std::to_wstring(id) + L" " + key); }
    void Click(int id) const { Act(L"--click " + std::to_wstring(id)); }

    // Closes the sheet as a person does and waits for the dashboard to end.
    void Close();

private:
    static std::wstring Cell(int row, int column, int x);
    ProcessRun process_;
    bool closed_ = false;
};
