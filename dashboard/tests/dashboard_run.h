#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

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
// page: reading the list, clicking boxes, links and buttons, pressing keys. Every wait has a
// time limit; the dashboard is closed (or ended) when the object goes.
class DashboardRun {
public:
    // Starts ZTDashBoard.exe and waits until its sheet shows the page.
    DashboardRun();
    ~DashboardRun();
    DashboardRun(const DashboardRun&) = delete;
    DashboardRun& operator=(const DashboardRun&) = delete;

    HWND Sheet() const;
    HWND Page() const;
    HWND Control(int id) const;
    bool Enabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }
    bool Visible(int id) const { return ::IsWindowVisible(Control(id)) != FALSE; }

    std::vector<PageRow> Rows() const;
    // The row showing the item of that name; -1 when none does.
    int RowOf(const std::wstring& name) const;
    // Whether the rows come to satisfy the condition within the time, read every 200 ms.
    bool RowsBecome(const std::function<bool(const std::vector<PageRow>&)>& condition, DWORD ms) const;
    // The image of the header's check box: 0 unchecked, 1 checked.
    int HeaderCheck() const;

    // uidrive on the sheet with the actions.
    Driven OnSheet(const std::wstring& actions) const;
    void ClickCheckBox(int row) const;
    void ClickName(int row, bool ctrl = false) const;
    void ClickLink(int row) const;
    void ClickHeaderCheckBox() const;
    void Press(int id, const std::wstring& key) const;
    void Click(int id) const;

    // Closes the sheet as a person does and waits for the dashboard to end.
    void Close();

private:
    ProcessRun process_;
    bool closed_ = false;
};
