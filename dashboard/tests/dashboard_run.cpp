#include "dashboard_run.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <sstream>

#include "dashboard_test.h"

namespace {

// uidrive's output line by line, each line's tab-separated fields.
std::vector<std::vector<std::wstring>> Fields(const std::wstring& output) {
    std::vector<std::vector<std::wstring>> lines;
    std::wstringstream stream(output);
    for (std::wstring line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        std::vector<std::wstring>& fields = lines.emplace_back();
        std::wstringstream cells(line);
        for (std::wstring field; std::getline(cells, field, L'\t');) fields.push_back(field);
        if (!line.empty() && line.back() == L'\t') fields.emplace_back();
    }
    return lines;
}

const std::wstring kOnSheet = L"--title \"" + std::wstring(kSheetTitle) + L"\" ";

}  // namespace

Driven Drive(const std::wstring& arguments, DWORD timeoutMs) {
    UiDriver driver(L"--timeout " + std::to_wstring(timeoutMs) + L" " + arguments);
    std::string output;
    const DWORD code = driver.Finish(output, timeoutMs + 30000);
    std::wstring wide(output.size(), L'\0');
    wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, output.data(),
                                                               static_cast<int>(output.size()), wide.data(),
                                                               static_cast<int>(wide.size()))));
    return {code, wide};
}

DashboardRun::DashboardRun() : process_(Quoted(TestProgramFolder() + L"ZTDashBoard.exe")) {
    const Driven found = Drive(kOnSheet + L"--controls " + std::to_wstring(IDC_ITEMS));
    EXPECT_EQ(found.exitCode, 0u) << "the dashboard's sheet did not come up: " << found.output;
}

HWND DashboardRun::Page() const {
    const HWND sheet = ::FindWindowW(L"#32770", kSheetTitle);
    return sheet ? PropSheet_GetCurrentPageHwnd(sheet) : nullptr;
}

std::vector<PageRow> DashboardRun::Rows() const {
    const Driven driven = OnSheet(L"--rows " + std::to_wstring(IDC_ITEMS));
    EXPECT_EQ(driven.exitCode, 0u) << driven.output;
    std::vector<PageRow> rows;
    // "row N", state image, flags, then the three cells.
    for (const std::vector<std::wstring>& f : Fields(driven.output)) {
        if (f.size() != 6 || !f[0].starts_with(L"row ")) continue;
        rows.push_back({std::stoi(f[1]), f[2].find(L"selected") != std::wstring::npos,
                        f[2].find(L"cut") != std::wstring::npos, f[4], f[5]});
    }
    return rows;
}

int DashboardRun::RowOf(const std::wstring& name) const {
    const std::vector<PageRow> rows = Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

bool DashboardRun::RowsBecome(const std::function<bool(const std::vector<PageRow>&)>& condition,
                              DWORD ms) const {
    const ULONGLONG end = ::GetTickCount64() + ms;
    for (;;) {
        if (condition(Rows())) return true;
        if (::GetTickCount64() >= end) return false;
        ::Sleep(200);
    }
}

int DashboardRun::HeaderCheck() const {
    const Driven driven = OnSheet(L"--header " + std::to_wstring(IDC_ITEMS));
    for (const std::vector<std::wstring>& f : Fields(driven.output)) {
        if (f.size() >= 2 && f[0] == L"header 0") return std::stoi(f[1]);
    }
    ADD_FAILURE() << "no header in: " << driven.output;
    return -1;
}

Driven DashboardRun::OnSheet(const std::wstring& actions) const {
    return Drive(kOnSheet + actions);
}

void DashboardRun::Act(const std::wstring& actions) const {
    const Driven driven = OnSheet(actions);
    EXPECT_EQ(driven.exitCode, 0u) << driven.output;
}

std::wstring DashboardRun::Cell(int row, int column, int x) {
    return std::to_wstring(IDC_ITEMS) + L" " + std::to_wstring(row) + L" " + std::to_wstring(column) + L" " +
           std::to_wstring(x);
}

// The middle of the first column, where the box is drawn.
void DashboardRun::ClickCheckBox(int row) const {
    Act(L"--click-cell " + Cell(row, 0, ListView_GetColumnWidth(Control(IDC_ITEMS), 0) / 2));
}

void DashboardRun::Close() {
    closed_ = true;
    Act(L"--click " + std::to_wstring(IDCANCEL) + L" --gone");
    EXPECT_EQ(process_.Finish(kRunEndsMs), 0u);
}
