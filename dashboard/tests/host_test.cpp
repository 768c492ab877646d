// The dashboard stand-in with the registered plug-in, as a user meets them: the page in the
// dashboard's sheet, the status object's answers through COM, and the reminder.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "dashboard_run.h"
#include "dashboard_test.h"
#include "process_run.h"

namespace {

class DashboardHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Applications\\DashBoard");
        ASSERT_EQ(plugIn_.Call("DllRegisterServer"), S_OK);
    }
    static void Remind(DWORD enabled, DWORD seconds) {
        SetRegistryDword(HKEY_CURRENT_USER, NotifySettingsBackup::kSettingsKey, L"EnableCryptNotify",
                         enabled);
        SetRegistryDword(HKEY_CURRENT_USER, NotifySettingsBackup::kSettingsKey, L"CryptNotifyTimeout",
                         seconds);
    }
    // The stand-in printing the status object's answers; its exit code.
    static DWORD PrintStatus(std::string& output) {
        return ProcessRun(Quoted(TestProgramFolder() + L"ZTDashBoard.exe") + L" /status", true)
            .Finish(output);
    }
    // Runs the dashboard with one decrypted item and these settings; whether the reminder came
    // (and was answered) within the time.
    bool ReminderComes(DWORD enabled, DWORD seconds, DWORD withinMs) {
        Remind(enabled, seconds);
        store_.WriteStore(StoreBody(MissingItem(1)));
        const DashboardRun dashboard;
        return Drive(L"--title \"Decrypted Files Reminder\" --click 1 --gone", withinMs).exitCode == 0;
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
        StoreBody(Item(folder.Path(), "Quarterly report.odt") + MissingItem(1) + MissingItem(2)));
    const DashboardRun dashboard;
    EXPECT_TRUE(dashboard.RowsBecome([](const auto& rows) { return rows.size() == 3; }, 15000))
        << "the page lists the store";
    WaitForScreenshot(L"dashboard-page");
}

// What the status object answers in each case is PlugInTest's; here, that COM finds the
// registered class and the stand-in gets the answers.
TEST_F(DashboardHostTest, TheStatusObjectAnswersThroughComWhileItsClassIsRegistered) {
    Remind(1, 7200);
    store_.WriteStore(StoreBody(MissingItem(1)));
    std::string output;
    EXPECT_EQ(PrintStatus(output), 0u);
    EXPECT_EQ(output, "HasDecryptedItems: -1\r\nGetNotifyTimeout: 7200\r\n");

    ASSERT_EQ(plugIn_.Call("DllUnregisterServer"), S_OK);
    EXPECT_EQ(PrintStatus(output), 2u);
    EXPECT_EQ(output, "status object unavailable: 0x80040154\r\n");
}

TEST_F(DashboardHostTest, DecryptedItemsAreRemindedOfAfterTheIntervalWhileRemindersAreOn) {
    EXPECT_TRUE(ReminderComes(1, 2, 20000));
    EXPECT_FALSE(ReminderComes(0, 1, 4000));
}

}  // namespace
