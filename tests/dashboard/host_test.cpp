// The dashboard stand-in with the registered plug-in, as a user meets them: the page in the
// dashboard's sheet, the status object's answers through COM, and the reminder.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "dashboard_test.h"
#include "process_run.h"

namespace {

using ServerFn = HRESULT(STDAPICALLTYPE*)();

constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto";
constexpr wchar_t kSheetTitle[] = L"Tapwise Crypto";
constexpr wchar_t kReminderTitle[] = L"Decrypted Files Reminder";

ProcessRun StartDashboard(const std::wstring& arguments = L"") {
    return ProcessRun(Quoted(TestProgramFolder() + L"ZTDashBoard.exe") + arguments, !arguments.empty());
}

// Set by the screenshot script: the folder where the test says that the page is shown
// ("ready") and the script says that its picture is taken ("taken").
void WaitForScreenshot() {
    const char* folder = std::getenv("ZT_DASHBOARD_SCREENSHOT");
    if (!folder) return;
    const std::wstring windowsFolder = FromBuildPath(folder);
    WriteFileBytes(windowsFolder + L"\\ready", {});
    EXPECT_TRUE(Eventually([&] { return FileExists(windowsFolder + L"\\taken"); }, 30000))
        << "the screenshot script did not answer";
}

HWND FindSheet() {
    return ::FindWindowW(L"#32770", kSheetTitle);
}

// The number of rows the page's list shows, read from another process.
int ShownRows(HWND sheet) {
    const HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    const HWND list = page ? ::GetDlgItem(page, 1008) : nullptr;
    return list ? ListView_GetItemCount(list) : -1;
}

class DashboardHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Applications\\DashBoard");
        ASSERT_EQ(plugIn_.Entry<ServerFn>("DllRegisterServer")(), S_OK);
    }
    void Remind(DWORD enabled, DWORD seconds) const {
        SetRegistryDword(HKEY_CURRENT_USER, kSettingsKey, L"EnableCryptNotify", enabled);
        SetRegistryDword(HKEY_CURRENT_USER, kSettingsKey, L"CryptNotifyTimeout", seconds);
    }
    // Runs the dashboard with one decrypted item and these settings; whether the reminder came
    // (and was answered) within the time.
    bool ReminderComes(DWORD enabled, DWORD seconds, DWORD withinMs) {
        Remind(enabled, seconds);
        store_.WriteStore(StoreBody(MissingItem(1)));
        ProcessRun dashboard = StartDashboard();
        UiDriver reminder(L"--timeout " + std::to_wstring(withinMs) + L" --title \"" + kReminderTitle +
                          L"\" --click 1 --gone");
        const bool came = reminder.Finish() == 0;
        CloseDashboard(dashboard);
        return came;
    }
    static void CloseDashboard(ProcessRun& dashboard) {
        UiDriver close(L"--timeout 20000 --title \"" + std::wstring(kSheetTitle) + L"\" --click 2 --gone");
        EXPECT_EQ(close.Finish(), 0u);
        EXPECT_EQ(dashboard.Finish(kRunEndsMs), 0u);
    }

    RegistrationBackup registration_;
    NotifySettingsBackup settings_;
    RegistryBackup branding_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Branding"};
    StoreSandbox store_;
    PlugIn plugIn_;
};

TEST_F(DashboardHostTest, TheDashboardShowsThePageOfTheRegisteredPlugIn) {
    Remind(0, 3600);
    const TempFolder folder;
    WriteFileBytes(folder.Path(L"Quarterly report.odt"), PatternBytes(100));
    store_.WriteStore(
        StoreBody(FileItem(folder.Path(), "Quarterly report.odt") + MissingItem(1) + MissingItem(2)));
    ProcessRun dashboard = StartDashboard();
    UiDriver found(L"--timeout 20000 --title \"" + std::wstring(kSheetTitle) + L"\" --controls 1,2");
    ASSERT_EQ(found.Finish(), 0u) << "the dashboard's sheet did not come up";
    EXPECT_TRUE(Eventually([] { return ShownRows(FindSheet()) == 3; }, 15000)) << "the page lists the store";
    WaitForScreenshot();
    CloseDashboard(dashboard);
}

TEST_F(DashboardHostTest, TheStatusObjectAnswersThroughCom) {
    Remind(1, 7200);
    store_.WriteStore(StoreBody(MissingItem(1)));
    ProcessRun status = StartDashboard(L" /status");
    std::string output;
    EXPECT_EQ(status.Finish(output), 0u);
    EXPECT_EQ(output, "HasDecryptedItems: -1\r\nGetNotifyTimeout: 7200\r\n");

    Remind(0, 7200);
    store_.WriteStore(StoreBody(""));
    ProcessRun off = StartDashboard(L" /status");
    EXPECT_EQ(off.Finish(output), 0u);
    EXPECT_EQ(output, "HasDecryptedItems: 0\r\nGetNotifyTimeout: 0\r\n");
}

TEST_F(DashboardHostTest, WithoutTheClassRegisteredTheStatusIsUnavailable) {
    ASSERT_EQ(plugIn_.Entry<ServerFn>("DllUnregisterServer")(), S_OK);
    ProcessRun status = StartDashboard(L" /status");
    std::string output;
    EXPECT_EQ(status.Finish(output), 2u);
    EXPECT_EQ(output, "status object unavailable: 0x80040154\r\n");
}

TEST_F(DashboardHostTest, DecryptedItemsAreRemindedOfAfterTheIntervalWhileRemindersAreOn) {
    EXPECT_TRUE(ReminderComes(1, 2, 20000));
    EXPECT_FALSE(ReminderComes(0, 1, 4000));
}

}  // namespace
