// The recovery run in the test's process: what its open-file dialog offers while it is up,
// and the walk over chosen folders, nested folders and a path that vanished.
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
    UiDriver password(L"--timeout 20000 --controls " + std::to_wstring(IDC_PASSWORD) + L" --set " +
                      std::to_wstring(IDC_PASSWORD) + L" " + Quoted(kPassword) + L" --click 1 --gone");
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

// The recovery's dialog takes a choice far beyond its first buffer: 500 files whose names are
// typed into it all come back.
TEST_F(DecryptSelectionTest, FiveHundredFilesTypedIntoTheRecoveryDialogAreAllDecrypted) {
    std::vector<std::wstring> stems, names;
    for (int i = 0; i < 500; ++i) {
        wchar_t stem[32];
        ::wsprintfW(stem, L"recovered-in-bulk-%04d", i);
        stems.push_back(stem);
        names.push_back(stems.back() + L".zte");
        Encrypted(names.back(), std::u16string(stem, stem + stems.back().size()) + u".txt",
                  PatternBytes(20, static_cast<std::uint8_t>(i)));
    }
    UiDriver chooser(L"--timeout 60000 --title " + Quoted(LoadResString(IDS_CHOOSE_FILES)) +
                     GoToFolder(folder_.Path()) + L" --set " + std::to_wstring(kOpenDialogFileName) + L" " +
                     UiArgument(QuotedNames(names)) + L" --click " + std::to_wstring(IDOK) + L" --gone");
    UiDriver password(L"--timeout 60000 --controls " + std::to_wstring(IDC_PASSWORD) + L" --set " +
                      std::to_wstring(IDC_PASSWORD) + L" " + Quoted(kPassword) + L" --click 1 --gone");

    RunRecovery(nullptr);

    std::string chosen, answered;
    EXPECT_EQ(chooser.Finish(chosen, 90000), 0u) << chosen;
    EXPECT_EQ(password.Finish(answered), 0u) << answered;
    for (int i = 0; i < 500; ++i) {
        const std::wstring plain = folder_.Path(stems[i] + L".txt");
        ASSERT_EQ(ReadFileBytes(plain), PatternBytes(20, static_cast<std::uint8_t>(i))) << plain;
    }
}

struct WhileOpen {
    std::string filterBox;
    std::wstring topic;
    std::wstring helpFile;
};

// The help object lives only while the dialog is up; the dialog's Help button opens its topic.
TEST(RunRecoveryTest, TheDialogOffersEncryptedFilesFirstAndHasTheRecoveryHelpWhileItIsUp) {
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
        UiDriver cancel(dialog + L" --click 2 --gone");
        std::string output;
        EXPECT_EQ(cancel.Finish(output), 0u) << output;
        return open;
    });

    RunRecovery(nullptr);

    const WhileOpen open = seen.get();
    EXPECT_NE(open.filterBox.find("1136: " + Narrow(LoadResString(IDS_FILTER_ENCRYPTED))), std::string::npos)
        << open.filterBox;
    EXPECT_EQ(open.topic, L"/twc_recovery.htm");
    EXPECT_EQ(open.helpFile, L"ztcrypt.chm");
    EXPECT_EQ(CurrentHelp(), nullptr);
}

}  // namespace
