#include "dashboard_run.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <sstream>

#include "dashboard/resources/resource_ids.h"
#include "dashboard_test.h"

namespace {

std::wstring FromUtf8(const std::string& text) {
    const int units =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
    return wide;
}

std::vector<std::wstring> Lines(const std::wstring& output) {
    std::vector<std::wstring> lines;
    std::wstringstream stream(output);
    for (std::wstring line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::wstring> Fields(const std::wstring& line) {
    std::vector<std::wstring> fields;
    std::wstringstream stream(line);
    for (std::wstring field; std::getline(stream, field, L'\t');) fields.push_back(field);
    if (!line.empty() && line.back() == L'\t') fields.emplace_back();
    return fields;
}

// "row N", state image, flags, then the three cells.
std::optional<PageRow> ParseRow(const std::wstring& line) {
    const std::vector<std::wstring> fields = Fields(line);
    if (fields.size() != 6 || !fields[0].starts_with(L"row ")) return std::nullopt;
    PageRow row;
    row.check = std::stoi(fields[1]);
    row.selected = fields[2].find(L"selected") != std::wstring::npos;
    row.cut = fields[2].find(L"cut") != std::wstring::npos;
    row.name = fields[4];
    row.location = fields[5];
    return row;
}

std::wstring SheetWindow() {
    return L"--title \"" + std::wstring(kSheetTitle) + L"\" ";
}

}  // namespace

Driven Drive(const std::wstring& arguments, DWORD timeoutMs) {
    UiDriver driver(L"--timeout " + std::to_wstring(timeoutMs) + L" " + arguments);
    std::string output;
    const DWORD code = driver.Finish(output, timeoutMs + 30000);
    return {code, FromUtf8(output)};
}

DashboardRun::DashboardRun() : process_(Quoted(TestProgramFolder() + L"ZTDashBoard.exe")) {
    const Driven found = Drive(SheetWindow() + L"--controls " + std::to_wstring(IDC_ITEMS));
    EXPECT_EQ(found.exitCode, 0u) << "the dashboard's sheet did not come up: " << found.output;
}

DashboardRun::~DashboardRun() {
    if (!closed_) Close();
}

HWND DashboardRun::Sheet() const {
    return ::FindWindowW(L"#32770", kSheetTitle);
}

HWND DashboardRun::Page() const {
    const HWND sheet = Sheet();
    return sheet ? PropSheet_GetCurrentPageHwnd(sheet) : nullptr;
}

HWND DashboardRun::Control(int id) const {
    const HWND page = Page();
    return page ? ::GetDlgItem(page, id) : nullptr;
}

std::vector<PageRow> DashboardRun::Rows() const {
    const Driven driven = OnSheet(L"--rows " + std::to_wstring(IDC_ITEMS));
    EXPECT_EQ(driven.exitCode, 0u) << driven.output;
    std::vector<PageRow> rows;
    for (const std::wstring& line : Lines(driven.output)) {
        if (std::optional<PageRow> row = ParseRow(line)) rows.push_back(*row);
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
    for (const std::wstring& line : Lines(driven.output)) {
        const std::vector<std::wstring> fields = Fields(line);
        if (fields.size() >= 2 && fields[0] == L"header 0") return std::stoi(fields[1]);
    }
    ADD_FAILURE() << "no header in: " << driven.output;
    return -1;
}

Driven DashboardRun::OnSheet(const std::wstring& actions) const {
    return Drive(SheetWindow() + actions);
}

void DashboardRun::ClickCheckBox(int row) const {
    // The middle of the first column, where the box is drawn.
    const Driven driven =
        OnSheet(L"--click-cell " + std::to_wstring(IDC_ITEMS) + L" " + std::to_wstring(row) + L" 0 " +
                std::to_wstring(ListView_GetColumnWidth(Control(IDC_ITEMS), 0) / 2));
    EXPECT_EQ(driven.exitCode, 0u) << driven.output;
}

void DashboardRun::ClickName(int row, bool ctrl) const {
    const Driven driven = OnSheet((ctrl ? L"--ctrl-click-cell " : L"--click-cell ") +
                                  std::to_wstring(IDC_ITEMS) + L" " + std::to_wstring(row) + L" 1 30");
    EXPECT_EQ(driven.exitCode, 0u) << driven.output;
}

void DashboardRun::ClickLink(int row) const {
    // Near the right end of the location, where the link follows the "not found" text.
    const Driven driven =
        OnSheet(L"--click-cell " + std::to_wstring(IDC_ITEMS) + L" " + std::to_wstring(row) + L" 2 -10");
    EXPECT_EQ(driven.exitCode, 0u) << driven.output;
}

void DashboardRun::ClickHeaderCheckBox() const {
    const Driven driven = OnSheet(L"--click-column " + std::to_wstring(IDC_ITEMS) + L" 0");
    EXPECT_EQ(driven.exitCode, 0u) << driven.output;
}

void DashboardRun::Press(int id, const std::wstring& key) const {
    const Driven driven = OnSheet(L"--key " + std::to_wstring(id) + L" " + key);
    EXPECT_EQ(driven.exitCode, 0u) << driven.output;
}

void DashboardRun::Click(int id) const {
    const Driven driven = OnSheet(L"--click " + std::to_wstring(id));
    EXPECT_EQ(driven.exitCode, 0u) << driven.output;
}

void DashboardRun::Close() {
    closed_ = true;
    const Driven closed = OnSheet(L"--click " + std::to_wstring(IDCANCEL) + L" --gone");
    EXPECT_EQ(closed.exitCode, 0u) << closed.output;
    EXPECT_EQ(process_.Finish(kRunEndsMs), 0u);
}
