// The recovery run in the test's process: what its open-file dialog offers while it is up,
// the walk over chosen folders, nested folders and a path that vanished, and the password
// dialog's refusals.
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "engine_test.h"
#include "process_run.h"
#include "recovery/recovery_run.h"
#include "recovery/resources/resource_ids.h"
#include "text/res_string.h"
#include "ui/current_help.h"

namespace {

constexpr wchar_t kPassword[] = L"recover me";

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

class DecryptSelectionTest : public EngineTest {
protected:
    // An encrypted file of the password's secret, holding that plain name.
    std::wstring Encrypted(const std::wstring& name, const std::u16string& plainName,
                           const Bytes& plain) const {
        return File(name, PortableEncrypt(plainName, plain, 1, PasswordSecret(kPassword)));
    }
    // The password dialog, found by its field, then the actions.
    static std::wstring PasswordDialog(const std::wstring& actions) {
        return L"--timeout 20000 --controls " + std::to_wstring(IDC_PASSWORD) + actions;
    }
};

// Folders are walked to the bottom, a plain file among the encrypted ones stays as it is, and
// the vanished path and a linked folder, whose files stay encrypted, are reported while the
// run goes on; nothing enters the decrypted-items store.
TEST_F(DecryptSelectionTest, FoldersAreWalkedAndAVanishedPathOrALinkIsReportedWithoutTouchingTheStore) {
    const std::wstring top = Folder(L"top");
    Folder(L"top\\sub");
    const Bytes first = PatternBytes(1500, 1), second = PatternBytes(40, 2), third = PatternBytes(2100, 3);
    Encrypted(L"top\\first.txt.zte", u"first.txt", first);
    Encrypted(L"top\\sub\\second.txt.zte", u"second.txt", second);
    const Bytes plain = PatternBytes(90, 4);
    const std::wstring mistaken = File(L"top\\sub\\plain.txt", plain);
    Encrypted(L"third.zte", u"third.txt", third);
    Folder(L"elsewhere");
    const std::wstring beyond = Encrypted(L"elsewhere\\beyond.txt.zte", u"beyond.txt", plain);
    const FolderLink link(folder_.Path(L"top\\link"), folder_.Path(L"elsewhere"));
    ASSERT_TRUE(link.Made()) << "no folder links here";
    const std::wstring vanished = folder_.Path(L"vanished.zte");
    CStringList paths;
    for (const std::wstring& path : {top, vanished, folder_.Path(L"third.zte")}) paths.Add(path);
    store_.WriteStore("<ZTFileProtectionConfig><DecryptedItems/></ZTFileProtectionConfig>");
    const std::string store = store_.ReadStore();
    UiDriver password(PasswordDialog(L" --set " + std::to_wstring(IDC_PASSWORD) + L" " + Quoted(kPassword) +
                                     L" --click 1 --gone"));
    UiDriver report(L"--timeout 20000 --controls " + std::to_wstring(IDC_REPORT_TEXT) + L" --get " +
                    std::to_wstring(IDC_REPORT_TEXT) + L" --click 2 --gone");

    DecryptSelection(nullptr, paths);

    std::string answered, shown;
    EXPECT_EQ(password.Finish(answered), 0u) << answered;
    ASSERT_EQ(report.Finish(shown), 0u) << shown;
    EXPECT_NE(shown.find(Narrow(Entry(IDS_NOT_FOUND, vanished, S_OK))), std::string::npos) << shown;
    EXPECT_NE(shown.find(Narrow(Entry(IDS_SKIPPED_LINK_DECRYPT, folder_.Path(L"top\\link"), S_OK))),
              std::string::npos)
        << shown;
    EXPECT_TRUE(FileExists(beyond));
    std::wstring summary = LoadResString(IDS_SUMMARY_DECRYPT);
    summary.replace(summary.find(L"%d"), 2, L"3");
    EXPECT_NE(shown.find(Narrow(summary)), std::string::npos) << shown;
    EXPECT_EQ(ReadFileBytes(folder_.Path(L"top\\first.txt")), first);
    EXPECT_EQ(ReadFileBytes(folder_.Path(L"top\\sub\\second.txt")), second);
    EXPECT_EQ(ReadFileBytes(folder_.Path(L"third.txt")), third);
    EXPECT_EQ(ReadFileBytes(mistaken), plain);
    EXPECT_EQ(store_.ReadStore(), store);
}

// An empty password is refused and the dialog stays for another; cancelling it says so, and
// nothing is decrypted. Each answer waits for the one before.
TEST_F(DecryptSelectionTest, AnEmptyPasswordIsRefusedAndCancellingSaysSoAndDecryptsNothing) {
    const Bytes encrypted = PortableEncrypt(u"a.txt", PatternBytes(40), 1, PasswordSecret(kPassword));
    CStringList paths;
    paths.Add(File(L"a.txt.zte", encrypted));
    const std::wstring message = L"--timeout 20000 --controls 65535 --get 65535 --click 1 --gone";
    std::future<std::vector<std::string>> answers = std::async(std::launch::async, [&] {
        std::vector<std::string> outputs;
        for (const std::wstring& step :
             {PasswordDialog(L" --click 1"), message, PasswordDialog(L" --click 2 --gone"), message}) {
            UiDriver driver(step);
            outputs.emplace_back();
            EXPECT_EQ(driver.Finish(outputs.back()), 0u) << outputs.back();
        }
        return outputs;
    });

    DecryptSelection(nullptr, paths);

    const std::vector<std::string> outputs = answers.get();
    EXPECT_NE(outputs[1].find(Narrow(LoadResString(IDS_PASSWORD_EMPTY))), std::string::npos) << outputs[1];
    EXPECT_NE(outputs[3].find(Narrow(LoadResString(IDS_PASSWORD_CANCELLED))), std::string::npos)
        << outputs[3];
    EXPECT_EQ(ReadFileBytes(folder_.Path(L"a.txt.zte")), encrypted);
    EXPECT_FALSE(FileExists(folder_.Path(L"a.txt")));
}

struct WhileOpen {
    std::string filterBox;
    std::wstring topic;
    std::wstring helpFile;
};

// The help object lives only while the dialog is up; the dialog's Help button opens its topic.
// The file typed into the dialog is then decrypted with the password.
TEST_F(DecryptSelectionTest, TheDialogOffersEncryptedFilesFirstHasTheRecoveryHelpAndDecryptsTheChoice) {
    const std::wstring chosen = Encrypted(L"chosen.zte", u"chosen.txt", PatternBytes(20));
    const std::wstring dialog = L"--timeout 20000 --title " + Quoted(LoadResString(IDS_CHOOSE_FILES));
    std::future<WhileOpen> seen = std::async(std::launch::async, [&] {
        WhileOpen open;
        UiDriver filter(dialog + L" --get 1136");
        EXPECT_EQ(filter.Finish(open.filterBox), 0u) << open.filterBox;
        // The dialog is up and the recovery waits in it: nothing changes the help meanwhile.
        if (const CHelp* help = CurrentHelp()) {
            open.topic = help->Topic();
            open.helpFile = help->ShortName();
        }
        for (const std::wstring& step : {dialog + L" --set " + std::to_wstring(kOpenDialogFileName) + L" " +
                                             Quoted(chosen) + L" --click 1 --gone",
                                         PasswordDialog(L" --set " + std::to_wstring(IDC_PASSWORD) + L" " +
                                                        Quoted(kPassword) + L" --click 1 --gone")}) {
            UiDriver driver(step);
            std::string output;
            EXPECT_EQ(driver.Finish(output), 0u) << output;
        }
        return open;
    });

    RunRecovery(nullptr);

    const WhileOpen open = seen.get();
    EXPECT_NE(open.filterBox.find("1136: " + Narrow(LoadResString(IDS_FILTER_ENCRYPTED))), std::string::npos)
        << open.filterBox;
    EXPECT_EQ(open.topic, L"/twc_recovery.htm");
    EXPECT_EQ(open.helpFile, L"ztcrypt.chm");
    EXPECT_EQ(CurrentHelp(), nullptr);
    EXPECT_EQ(ReadFileBytes(folder_.Path(L"chosen.txt")), PatternBytes(20));
}

}  // namespace
