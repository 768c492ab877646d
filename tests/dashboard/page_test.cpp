// The page from the real ZTFileProtect.dll in a property sheet, as the dashboard shows it:
// the list fills from the store on its own, and closing the sheet while a load runs leaves
// nothing of the plug-in running.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "dashboard/dashboard_page_info.h"
#include "dashboard/resources/resource_ids.h"
#include "dashboard_test.h"

namespace {

using GetPageFn = HRESULT(STDAPICALLTYPE*)(DashboardPageInfo**, UINT);
using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();

class PageTest : public ::testing::Test {
protected:
    void SetUp() override {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
    }
    void TearDown() override {
        if (sheet_) ::DestroyWindow(sheet_);
    }

    // The plug-in's page in a sheet of its own; the descriptor is freed as the dashboard does.
    void ShowPage() {
        DashboardPageInfo* info = nullptr;
        ASSERT_EQ(plugIn_.Entry<GetPageFn>("ZTGetPropertyPageEx")(&info, 0), S_OK);
        HPROPSHEETPAGE page = info->page;
        ::LocalFree(info->title);
        ::LocalFree(info);
        PROPSHEETHEADERW header{};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_MODELESS | PSH_NOAPPLYNOW;
        header.pszCaption = L"Page test";
        header.nPages = 1;
        header.phpage = &page;
        sheet_ = reinterpret_cast<HWND>(::PropertySheetW(&header));
        ASSERT_NE(sheet_, nullptr);
        list_ = ::GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet_), IDC_ITEMS);
        ASSERT_NE(list_, nullptr);
    }
    int Rows() const { return ListView_GetItemCount(list_); }
    std::wstring Cell(int row, int column) const {
        wchar_t text[MAX_PATH] = {};
        ListView_GetItemText(list_, row, column, text, MAX_PATH);
        return text;
    }
    std::wstring PlugInString(UINT id) const {
        wchar_t text[MAX_PATH] = {};
        ::LoadStringW(plugIn_.Module(), id, text, MAX_PATH);
        return text;
    }
    HRESULT CanUnloadNow() const { return plugIn_.Entry<CanUnloadFn>("DllCanUnloadNow")(); }

    StoreSandbox store_;
    TempFolder folder_;
    MessageSink sink_;
    PlugIn plugIn_;
    HWND sheet_ = nullptr;
    HWND list_ = nullptr;
};

TEST_F(PageTest, TheListFillsFromTheStoreOnceThePageIsShown) {
    WriteFileBytes(folder_.Path(L"kept.txt"), PatternBytes(10));
    store_.WriteStore(StoreBody(FileItem(folder_.Path(), "kept.txt") + MissingItem(1)));
    ShowPage();
    ASSERT_TRUE(sink_.PumpUntil([&] { return Rows() == 2; }, 15000));
    for (int row = 0; row < 2; ++row) {
        if (Cell(row, 1) == L"kept.txt") {
            EXPECT_EQ(Cell(row, 2), folder_.Path());
        } else {
            EXPECT_EQ(Cell(row, 1), L"missing1.txt");
            EXPECT_EQ(Cell(row, 2), PlugInString(IDS_NOT_FOUND));
        }
    }
    ::DestroyWindow(sheet_);
    sheet_ = nullptr;
    EXPECT_EQ(CanUnloadNow(), S_OK) << "the sheet released the page";
}

TEST_F(PageTest, ClosingThePageDuringALoadLeavesNothingOfThePlugInRunning) {
    store_.WriteStore(StoreBody(ManyMissingItems(20000)));
    ShowPage();
    // The page asks for its first load as it starts; let the load begin.
    sink_.PumpFor(300);
    ::DestroyWindow(sheet_);
    sheet_ = nullptr;
    EXPECT_EQ(CanUnloadNow(), S_OK);
    plugIn_.Unload();
    EXPECT_EQ(::GetModuleHandleW(L"ZTFileProtect.dll"), nullptr);
    // A thread still in the plug-in's code would now fault and end the test program.
    sink_.PumpFor(1500);
}

}  // namespace
