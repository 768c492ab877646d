// The walk over the paths of a run, with real engines on real files: what is processed, what
// is skipped, what the report and the decrypted-items store then say.
#include <gtest/gtest.h>

#include <memory>

#include "app/resources/resource_ids.h"
#include "app/traversal/untouchable_items.h"
#include "engine/file_decryption.h"
#include "engine/file_encryption.h"
#include "engine_test.h"
#include "store/decrypted_item.h"
#include "store/decrypted_items.h"
#include "win/folder_listing.h"

namespace {

class WalkTest : public EngineTest {
protected:
    static void SetAttributes(const std::wstring& path, DWORD attributes) {
        ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attributes));
    }
    static std::unique_ptr<CEncryptionDecryption> Engine(int kind) {
        if (kind == kOperationEncrypt) return std::make_unique<DialogRun<CFileEncryption>>(kSecret);
        return std::make_unique<DialogRun<CFileDecryption>>(kSecret);
    }
    // The walk of ZTFileEn from a path the user named, its batch done.
    static HRESULT Walk(CEncryptionDecryption& engine, const std::wstring& path) {
        const HRESULT hr = WalkPath(engine, CUntouchableItems(engine.GetOperationKind()), path, 0);
        engine.CompleteBatch();
        return hr;
    }
    // The report of an engine that Engine made.
    static const CReport& ReportOf(const CEncryptionDecryption& engine) {
        return dynamic_cast<const CRunDialogs&>(engine).Report();
    }
    // The store's record of the item of that name in the test's folder; items are known by
    // their name alone.
    std::unique_ptr<CDecryptedItem> StoredItem(const std::wstring& name) const {
        CDecryptedItems items;
        items.LoadItems(nullptr);
        const CDecryptedItem* item = items.Find(CDecryptedItem::KeyOf(name));
        if (!item) return nullptr;
        EXPECT_EQ(item->FullPath(), folder_.Path(name));
        return std::make_unique<CDecryptedItem>(*item);
    }
};

TEST_F(WalkTest, EncryptingAFolderEncryptsEveryFileBelowItExactlyOnce) {
    const std::wstring top = Folder(L"top");
    Folder(L"top\\sub");
    std::vector<std::wstring> files;
    // Enough files that a listing still open while the engine writes would meet new ones.
    for (int i = 0; i < 24; ++i)
        files.push_back(File(L"top\\f" + std::to_wstring(i) + L".txt", PatternBytes(300)));
    files.push_back(File(L"top\\sub\\deep.txt", PatternBytes(5000)));
    DialogRun<CFileEncryption> engine{kSecret};

    EXPECT_EQ(Walk(engine, top), S_OK);

    for (const std::wstring& file : files) {
        EXPECT_FALSE(FileExists(file)) << ::testing::PrintToString(file);
        EXPECT_TRUE(FileExists(file + L".zte"));
        EXPECT_FALSE(FileExists(file + L".zte.zte"));
    }
    EXPECT_EQ(engine.ProcessedCount(), static_cast<int>(files.size()));
    EXPECT_EQ(Text(engine.Report()), L"");
}

// A hidden file or folder (with everything in it) and a system file, hidden too, are left
// alone; only encryption, which would have changed them, says so, a system file as such.
TEST_F(WalkTest, HiddenAndSystemItemsAreLeftAloneAndReportedOnlyWhenEncrypting) {
    for (const int kind : {kOperationEncrypt, kOperationDecrypt}) {
        SCOPED_TRACE(kind);
        const std::wstring run = L"k" + std::to_wstring(kind);
        const std::wstring top = Folder(run);
        const Bytes content = PortableEncrypt(u"secret.txt", PatternBytes(100), 1);
        const std::wstring hidden = File(run + L"\\secret.txt.zte", content);
        SetAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
        const std::wstring ini = File(run + L"\\desktop.ini", PatternBytes(40));
        SetAttributes(ini, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        const std::wstring hiddenFolder = Folder(run + L"\\hidden");
        const std::wstring inside = File(run + L"\\hidden\\a.txt", PatternBytes(40));
        SetAttributes(hiddenFolder, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
        const auto engine = Engine(kind);

        Walk(*engine, top);

        EXPECT_EQ(ReadFileBytes(hidden), content);
        EXPECT_EQ(ReadFileBytes(inside), PatternBytes(40));
        EXPECT_FALSE(FileExists(ini + L".zte"));
        EXPECT_EQ(engine->ProcessedCount(), 0);
        const std::wstring report = Text(ReportOf(*engine));
        EXPECT_EQ(ReportOf(*engine).Count(), kind == kOperationEncrypt ? 3u : 0u) << report;
        for (const std::wstring& entry :
             {Entry(IDS_SKIPPED_HIDDEN, hidden, S_OK), Entry(IDS_SKIPPED_SYSTEM, ini, S_OK),
              Entry(IDS_SKIPPED_HIDDEN, hiddenFolder, S_OK)})
            EXPECT_EQ(report.find(entry) != std::wstring::npos, kind == kOperationEncrypt) << report;
    }
}

// Decrypting, the same is seen through the recovery's walk (DecryptSelectionTest).
TEST_F(WalkTest, VanishedPathIsReportedAndTheNextPathIsStillProcessed) {
    const std::wstring gone = folder_.Path(L"gone");
    const std::wstring next = File(L"plain.txt", PatternBytes(10));
    DialogRun<CFileEncryption> engine{kSecret};

    for (const std::wstring& path : {gone, next}) Walk(engine, path);

    EXPECT_EQ(Text(engine.Report()), Entry(IDS_NOT_FOUND, gone, S_OK));
    EXPECT_TRUE(FileExists(next + L".zte"));
    EXPECT_FALSE(FileExists(next));
}

TEST_F(WalkTest, NamedFoldersAndFilesAreRecordedWhenDecryptedAndFilesFoundInAFolderAreNot) {
    const std::wstring empty = Folder(L"empty");
    const std::wstring full = Folder(L"full");
    File(L"full\\a.txt.zte", PortableEncrypt(u"a.txt", PatternBytes(10), 1));
    const std::wstring named = File(L"b.txt.zte", PortableEncrypt(u"b.txt", PatternBytes(10), 1));
    DialogRun<CFileDecryption> engine{kSecret};

    for (const std::wstring& path : {empty, full, named}) Walk(engine, path);

    for (const wchar_t* name : {L"empty", L"full", L"b.txt"}) {
        const auto item = StoredItem(name);
        ASSERT_NE(item, nullptr) << ::testing::PrintToString(name);
        EXPECT_EQ(item->IsFolder(), name != std::wstring(L"b.txt"));
    }
    EXPECT_TRUE(FileExists(folder_.Path(L"full\\a.txt")));
    EXPECT_EQ(StoredItem(L"a.txt"), nullptr);
    EXPECT_EQ(engine.ProcessedCount(), 2);
}

// The user presses Cancel while the first file of the walk is being decrypted.
class CancelledAtFirstFile : public CFileDecryption {
public:
    using CFileDecryption::CFileDecryption;

protected:
    std::optional<FileOutcome> CheckInputFile() override {
        ::PostMessageW(dynamic_cast<CRunDialogs&>(*this).Progress()->Window(), WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 250 && !observer_.IsCancelled(); ++i) ::Sleep(20);
        return CFileDecryption::CheckInputFile();
    }
};

TEST_F(WalkTest, CancelStopsTheWalkButTheChosenFolderIsStillRecorded) {
    const std::wstring top = Folder(L"top");
    const Bytes first = PortableEncrypt(u"a.txt", PatternBytes(3000), 1);
    const Bytes second = PortableEncrypt(u"b.txt", PatternBytes(3000), 1);
    File(L"top\\a.zte", first);
    File(L"top\\b.zte", second);
    DialogRun<CancelledAtFirstFile> engine{kSecret};
    ASSERT_NE(engine.Progress()->Window(), nullptr) << "no progress dialog (no DISPLAY?)";

    Walk(engine, top);

    EXPECT_TRUE(engine.IsCancelled());
    EXPECT_EQ(ReadFileBytes(folder_.Path(L"top\\a.zte")), first);
    EXPECT_EQ(ReadFileBytes(folder_.Path(L"top\\b.zte")), second);
    EXPECT_FALSE(FileExists(folder_.Path(L"top\\a.txt")));
    EXPECT_FALSE(FileExists(folder_.Path(L"top\\b.txt")));
    EXPECT_EQ(engine.Report().Count(), 1u) << "only the file in hand is reported as cancelled";
    const auto item = StoredItem(L"top");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->IsFolder());
}

TEST_F(WalkTest, TotalSizeCountsEveryFileBelowAFolderHiddenOnesToo) {
    const std::wstring top = Folder(L"top");
    Folder(L"top\\sub");
    Folder(L"top\\sub\\empty");
    File(L"top\\a", PatternBytes(10));
    File(L"top\\sub\\b", PatternBytes(200));
    SetAttributes(File(L"top\\sub\\c", PatternBytes(3000)), FILE_ATTRIBUTE_HIDDEN);

    EXPECT_EQ(TotalSize(top), 3210u);
    EXPECT_EQ(TotalSize(folder_.Path(L"top\\sub\\b")), 200u);
    EXPECT_EQ(TotalSize(folder_.Path(L"missing")), 0u);
}

// A linked folder may lead out of the selection, or back into it: the walk never enters one,
// and only encryption, which would have changed what lies behind it, says so.
TEST_F(WalkTest, ALinkedFolderIsNeverEnteredAndReportedOnlyWhenEncrypting) {
    for (const int kind : {kOperationEncrypt, kOperationDecrypt}) {
        SCOPED_TRACE(kind);
        const std::wstring run = L"k" + std::to_wstring(kind);
        Folder(run);
        Folder(run + L"\\elsewhere");
        const Bytes content = PortableEncrypt(u"there.txt", PatternBytes(100), 1);
        const std::wstring there = File(run + L"\\elsewhere\\there.txt.zte", content);
        const std::wstring top = Folder(run + L"\\top");
        File(run + L"\\top\\here.txt", PatternBytes(10));
        const FolderLink outward(folder_.Path(run + L"\\top\\out"), folder_.Path(run + L"\\elsewhere"));
        const FolderLink loop(folder_.Path(run + L"\\top\\loop"), top);
        if (!outward.Made() || !loop.Made()) GTEST_SKIP() << "no folder links here";
        const auto engine = Engine(kind);

        EXPECT_EQ(TotalSize(top), 10u);
        Walk(*engine, top);

        EXPECT_EQ(ReadFileBytes(there), content);
        EXPECT_EQ(engine->ProcessedCount(), kind == kOperationEncrypt ? 1 : 0);
        const std::wstring report = Text(ReportOf(*engine));
        EXPECT_EQ(ReportOf(*engine).Count(), kind == kOperationEncrypt ? 2u : 0u) << report;
        for (const wchar_t* link : {L"\\top\\out", L"\\top\\loop"}) {
            const std::wstring entry = Entry(IDS_SKIPPED_LINK, folder_.Path(run + link), S_OK);
            EXPECT_EQ(report.find(entry) != std::wstring::npos, kind == kOperationEncrypt) << report;
        }
    }
}

// A name that looks like a leftover is the engine's to judge, never encrypted: a hidden plain
// file found in a chosen folder is removed, a user's file so named is left alone whether found
// or named, and a folder so named is walked.
TEST_F(WalkTest, AWalkRemovesOnlyItsOwnLeftoversAndWalksAFolderNamedLikeOne) {
    const std::wstring top = Folder(L"top");
    const Bytes content = PatternBytes(3000);
    const std::wstring userFile = File(L"top\\x.~ZT-Unfinished-7", content);
    Folder(L"top\\d.~zt-unfinished-2");
    const std::wstring inner = File(L"top\\d.~zt-unfinished-2\\inner.txt", PatternBytes(10));
    const std::wstring leftover = File(L"top\\c.txt.~zt-unfinished-1", PatternBytes(20));
    SetAttributes(leftover, FILE_ATTRIBUTE_HIDDEN);
    DialogRun<CFileEncryption> engine{kSecret};

    Walk(engine, top);
    Walk(engine, userFile);

    EXPECT_EQ(ReadFileBytes(userFile), content);
    EXPECT_FALSE(FileExists(userFile + L".zte"));
    EXPECT_TRUE(FileExists(inner + L".zte"));
    EXPECT_FALSE(FileExists(leftover));
    EXPECT_EQ(Text(engine.Report()),
              Entry(IDS_NOT_A_LEFTOVER, userFile, S_OK) + Entry(IDS_NOT_A_LEFTOVER, userFile, S_OK));
}

}  // namespace
