#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "core/text/unix_time.h"
#include "store/decrypted_items.h"
#include "store_sandbox.h"
#include "test_support.h"
#include "win/long_path.h"
#include "win/unique_handle.h"

namespace {

constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // Windows-1252
constexpr LANGID kGreek = MAKELANGID(LANG_GREEK, SUBLANG_DEFAULT);         // Windows-1253
constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
constexpr std::uint32_t kSeconds = 1700000000;

std::string InList(std::string_view items) {
    return "<ZTFileProtectionConfig><DecryptedItems>" + std::string(items) +
           "</DecryptedItems></ZTFileProtectionConfig>";
}

std::unique_ptr<CDecryptedItem> Item(std::wstring name, std::wstring path, bool folder, ULONGLONG time = 0) {
    auto item = std::make_unique<CDecryptedItem>(std::move(name), folder);
    item->SetPath(std::move(path));
    item->SetDecryptTime(time);
    return item;
}

class StoreTest : public ::testing::Test {
protected:
    // A fresh list loaded from the file as it is now.
    std::unique_ptr<CDecryptedItems> Reloaded(HRESULT expected = S_OK) {
        auto items = std::make_unique<CDecryptedItems>();
        EXPECT_EQ(items->LoadItems(nullptr), expected);
        return items;
    }

    const CDecryptedItem& Only(const CDecryptedItems& items) {
        EXPECT_EQ(items.Count(), 1u);
        return *items.begin()->second;
    }

    StoreSandbox sandbox_;
    ThreadLocale locale_{kEnglish};
    TempFolder folder_;
};

TEST_F(StoreTest, StoreFileLivesInTheMakersFolderUnderApplicationData) {
    std::wstring path;
    ASSERT_TRUE(CDecryptedItems::GetStoreFilePath(path));
    EXPECT_EQ(path, sandbox_.StoreFile());
}

TEST_F(StoreTest, FirstSaveOnAFreshProfileCreatesTheFolders) {
    if (sandbox_.MakerFolderExisted()) GTEST_SKIP() << "the profile already has the maker's folder";
    CDecryptedItems items;
    items.InsertOrReplace(Item(L"a.txt", L"C:\\A", false));
    ASSERT_EQ(items.SaveItems(), S_OK);
    EXPECT_EQ(Only(*Reloaded()).Name(), L"a.txt");
}

TEST_F(StoreTest, EmptyListSavesDeclarationAndEmptyItemList) {
    ASSERT_EQ(CDecryptedItems().SaveItems(), S_OK);
    EXPECT_EQ(sandbox_.ReadStore(), std::string(kDeclaration) +
                                        "<ZTFileProtectionConfig><DecryptedItems/></ZTFileProtectionConfig>");
    EXPECT_EQ(sandbox_.FilesInStoreFolder(), std::vector<std::wstring>{L"unprotected.xml"});
}

TEST_F(StoreTest, ItemsSaveInTheExactLayoutOfTheFile) {
    const ULONGLONG time = core::UnixSecondsToFileTime(kSeconds);
    const struct {
        std::unique_ptr<CDecryptedItem> item;
        std::string_view bytes;
    } cases[] = {
        {Item(L"caf\u00E9 \u03A9.doc", L"C:\\A", false, time + 9999999),
         "<item name=\"caf\xE9 &#x03A9;.doc\" folder=\"0\"><path>C:\\A</path>"
         "<decrypt_time>1700000000</decrypt_time></item>"},
        {Item(L"Docs", L"D:", true), "<item name=\"Docs\" folder=\"1\"><path>D:</path></item>"},
        {Item(L"\U0001F600 a&b'c", L"C:\\\u4E2D", false),
         "<item name=\"&#x1F600; a&amp;b'c\" folder=\"0\"><path>C:\\&#x4E2D;</path></item>"},
    };
    for (const auto& c : cases) {
        CDecryptedItems items;
        items.InsertOrReplace(std::make_unique<CDecryptedItem>(*c.item));
        ASSERT_EQ(items.SaveItems(), S_OK);
        EXPECT_EQ(sandbox_.ReadStore(), std::string(kDeclaration) + InList(c.bytes));
    }
}

TEST_F(StoreTest, NamesAndPathsReadBackUnchanged) {
    const std::wstring names[] = {L"caf\u00E9.txt", L"\u03A9mega", L"\U0001F600.png", L"\u0080\u00FF\u00A0x",
                                  L"\u4E2D\u6587 & <tag>"};
    CDecryptedItems items;
    for (const std::wstring& name : names) items.InsertOrReplace(Item(name, L"C:\\" + name, false));
    ASSERT_EQ(items.SaveItems(), S_OK);
    const auto reloaded = Reloaded();
    ASSERT_EQ(reloaded->Count(), std::size(names));
    for (const std::wstring& name : names) {
        const CDecryptedItem* item = reloaded->Find(CDecryptedItem::KeyOf(name));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Name(), name);
        EXPECT_EQ(item->Path(), L"C:\\" + name);
    }
}

TEST_F(StoreTest, Latin1CharactersTheCodePageLacksAreWrittenAsReferences) {
    const ThreadLocale greek(kGreek);
    CDecryptedItems items;
    items.InsertOrReplace(Item(L"caf\u00E9", L"C:\\\u00A3", false));
    ASSERT_EQ(items.SaveItems(), S_OK);
    // Windows-1253 has the pound sign at its Latin-1 place but no e with acute accent.
    EXPECT_EQ(sandbox_.ReadStore(),
              std::string(kDeclaration) +
                  InList("<item name=\"caf&#x00E9;\" folder=\"0\"><path>C:\\\xA3</path></item>"));
    EXPECT_EQ(Only(*Reloaded()).Name(), L"caf\u00E9");
}

TEST_F(StoreTest, FolderAttributeIsAFolderOnlyWhenItsHexValueIsOne) {
    sandbox_.WriteStore(
        InList("<item name=\"one\" folder=\"1\"/><item name=\"zero-one\" folder=\"01\"/><item name=\"zero\" "
               "folder=\"0\"/>"
               "<item name=\"two\" folder=\"2\"/><item name=\"word\" folder=\"yes\"/><item name=\"missing\"/>"
               "<item name=\"hex\" folder=\"0x1\"/><item name=\"wrapped\" folder=\"100000001\"/>"));
    const auto items = Reloaded();
    const struct {
        const wchar_t* name;
        bool folder;
    } cases[] = {{L"one", true},   {L"zero-one", true}, {L"zero", false}, {L"two", false},
                 {L"word", false}, {L"missing", false}, {L"hex", false},  {L"wrapped", false}};
    ASSERT_EQ(items->Count(), std::size(cases));
    for (const auto& c : cases) {
        const CDecryptedItem* item = items->Find(CDecryptedItem::KeyOf(c.name));
        ASSERT_NE(item, nullptr) << c.name;
        EXPECT_EQ(item->IsFolder(), c.folder) << c.name;
    }
}

TEST_F(StoreTest, DecryptTimeIsKnownOnlyWhenItIsADecimalNumber) {
    sandbox_.WriteStore(
        InList("<item name=\"a\" folder=\"0\"><path>C:</path><decrypt_time>1700000000</decrypt_time></item>"
               "<item name=\"b\" folder=\"0\"><path>C:</path><decrypt_time>soon</decrypt_time></item>"
               "<item name=\"c\" folder=\"0\"><path>C:</path><decrypt_time>-1</decrypt_time></item>"
               "<item name=\"d\" folder=\"0\"><path>C:</path></item>"));
    const auto items = Reloaded();
    EXPECT_EQ(items->Find(L"A")->DecryptTime(), core::UnixSecondsToFileTime(kSeconds));
    for (const wchar_t* unknown : {L"B", L"C", L"D"}) EXPECT_EQ(items->Find(unknown)->DecryptTime(), 0u);
}

TEST_F(StoreTest, OnlyItemElementsOfTheFirstItemListAreRead) {
    sandbox_.WriteStore(
        "<Other>text<DecryptedItems>\n<!-- item --><?item name=\"pi\"?>x<Item name=\"upper\"/><file "
        "name=\"f\"/>"
        "<item name=\"real\" folder=\"0\"><path>C:\\A</path></item></DecryptedItems>"
        "<DecryptedItems><item name=\"second\"/></DecryptedItems></Other>");
    const auto items = Reloaded();
    EXPECT_EQ(Only(*items).Name(), L"real");
    EXPECT_EQ(Only(*items).Path(), L"C:\\A");
}

TEST_F(StoreTest, FileWithoutItemListLoadsAsEmpty) {
    sandbox_.WriteStore("<ZTFileProtectionConfig/>");
    EXPECT_EQ(Reloaded(S_OK)->Count(), 0u);
}

TEST_F(StoreTest, MalformedFileLoadsAsEmptyAndTheNextUpdateReplacesIt) {
    for (std::string_view body : {"", "<ZTFileProtectionConfig><DecryptedItems>", "\xFF\xFE<x", "<a></b>"}) {
        sandbox_.WriteStore(body);
        CDecryptedItems items;
        EXPECT_EQ(items.LoadItems(nullptr), E_FAIL);
        EXPECT_EQ(items.Count(), 0u);
        DWORD count = 7;
        EXPECT_TRUE(CDecryptedItems::GetStoreFileInfo(nullptr, &count));
        EXPECT_EQ(count, 0u);
        ASSERT_EQ(items.UpdateDecryptedItems(true, L"C:\\A\\new.txt", 0), S_OK);
        EXPECT_EQ(Only(*Reloaded()).Name(), L"new.txt");
    }
}

TEST_F(StoreTest, ItemWithoutNameEndsTheLoadKeepingTheItemsBeforeIt) {
    sandbox_.WriteStore(
        InList("<item name=\"a\" folder=\"0\"/><item folder=\"0\"/><item name=\"c\" folder=\"0\"/>"));
    const auto items = Reloaded(E_FAIL);
    EXPECT_EQ(Only(*items).Name(), L"a");
}

TEST_F(StoreTest, MissingFileLoadsAsEmptyAndTheFirstUpdateCreatesIt) {
    FILETIME written{1, 1};
    DWORD count = 7;
    EXPECT_FALSE(CDecryptedItems::GetStoreFileInfo(&written, &count));
    EXPECT_EQ(written.dwLowDateTime | written.dwHighDateTime, 0u);
    EXPECT_EQ(count, 0u);
    CDecryptedItems items;
    EXPECT_EQ(items.LoadItems(nullptr), E_FAIL);

    FILETIME before{};
    ::GetSystemTimeAsFileTime(&before);
    ASSERT_EQ(items.UpdateDecryptedItems(true, L"C:\\Folder\\Sub", 1), S_OK);
    EXPECT_TRUE(CDecryptedItems::GetStoreFileInfo(&written, &count));
    EXPECT_NE(written.dwLowDateTime | written.dwHighDateTime, 0u);
    EXPECT_EQ(count, 1u);
    const auto reloaded = Reloaded();
    const CDecryptedItem& item = Only(*reloaded);
    EXPECT_EQ(item.Name(), L"Sub");
    EXPECT_EQ(item.Path(), L"C:\\Folder");
    EXPECT_TRUE(item.IsFolder());
    // Stored to the second, so the time read back is at most a second before the update.
    const ULONGLONG start = ULARGE_INTEGER{{before.dwLowDateTime, before.dwHighDateTime}}.QuadPart;
    EXPECT_GE(item.DecryptTime() + 10'000'000, start);
    EXPECT_LE(item.DecryptTime(), start + 600 * 10'000'000ull);
}

TEST_F(StoreTest, SameNameInAnotherFolderReplacesTheItemAndRemovalIgnoresTheFolder) {
    CDecryptedItems items;
    ASSERT_EQ(items.UpdateDecryptedItems(true, L"C:\\A\\report.doc", 0), S_OK);
    ASSERT_EQ(items.UpdateDecryptedItems(true, L"C:\\B\\REPORT.DOC", 0), S_OK);
    const auto reloaded = Reloaded();
    EXPECT_EQ(Only(*reloaded).Name(), L"REPORT.DOC");
    EXPECT_EQ(Only(*reloaded).Path(), L"C:\\B");

    ASSERT_EQ(items.UpdateDecryptedItems(true, L"C:\\A\\other.doc", 0), S_OK);
    ASSERT_EQ(items.UpdateDecryptedItems(false, L"D:\\Elsewhere\\Report.Doc", 0), S_OK);
    EXPECT_EQ(Only(*Reloaded()).Name(), L"other.doc");
}

// Every file an encryption run writes asks to forget it; the file is written only when the
// list held it, and then without it.
TEST_F(StoreTest, ForgettingAnItemTheListDoesNotHoldLeavesTheFileAsItWas) {
    CDecryptedItems engine;
    EXPECT_EQ(engine.UpdateDecryptedItems(false, L"C:\\A\\never.txt", 0), S_OK);
    EXPECT_FALSE(FileExists(sandbox_.StoreFile()));

    sandbox_.WriteStore(InList("<item name=\"kept.txt\" folder=\"0\"/>"));
    const Bytes written = ReadFileBytes(sandbox_.StoreFile());
    FILETIME before{}, after{};
    ASSERT_TRUE(CDecryptedItems::GetStoreFileInfo(&before, nullptr));
    EXPECT_EQ(engine.UpdateDecryptedItems(false, L"C:\\A\\never.txt", 0), S_OK);
    ASSERT_TRUE(CDecryptedItems::GetStoreFileInfo(&after, nullptr));
    EXPECT_EQ(::CompareFileTime(&before, &after), 0);
    EXPECT_EQ(ReadFileBytes(sandbox_.StoreFile()), written);

    EXPECT_EQ(engine.UpdateDecryptedItems(false, L"C:\\B\\Kept.TXT", 0), S_OK);
    EXPECT_EQ(Reloaded()->Count(), 0u);
}

TEST_F(StoreTest, FirstUpdateKeepsTheItemsAlreadyInTheFile) {
    CDecryptedItems writer;
    writer.InsertOrReplace(Item(L"kept.txt", L"C:\\K", false));
    ASSERT_EQ(writer.SaveItems(), S_OK);
    CDecryptedItems engine;
    ASSERT_EQ(engine.UpdateDecryptedItems(true, L"C:\\N\\new.txt", 0), S_OK);
    const auto reloaded = Reloaded();
    EXPECT_EQ(reloaded->Count(), 2u);
    EXPECT_NE(reloaded->Find(L"KEPT.TXT"), nullptr);
}

TEST_F(StoreTest, AnItemDeeperThanMaxPathIsRecordedWholeAndListedWithItsExistence) {
    std::wstring folder = folder_.Path();
    for (int level = 0; level < 3; ++level) {
        folder += L"\\" + std::wstring(120, L'f');
        ASSERT_TRUE(::CreateDirectoryW(LongPathForm(folder).c_str(), nullptr));
    }
    WriteFileBytes(LongPathForm(folder + L"\\deep.txt"), {1});
    CDecryptedItems items;
    ASSERT_EQ(items.UpdateDecryptedItems(true, folder + L"\\deep.txt", 0), S_OK);

    const auto reloaded = Reloaded();
    EXPECT_EQ(Only(*reloaded).FullPath(), folder + L"\\deep.txt");
    EXPECT_TRUE(Only(*reloaded).Exists());
}

TEST_F(StoreTest, UnchangedFileRefreshesOnlyTheExistsFlags) {
    WriteFileBytes(folder_.Path(L"a.txt"), {1});
    WriteFileBytes(folder_.Path(L"b.txt"), {2});
    CDecryptedItems writer;
    ASSERT_EQ(writer.UpdateDecryptedItems(true, folder_.Path(L"a.txt"), 0), S_OK);
    ASSERT_EQ(writer.UpdateDecryptedItems(true, folder_.Path(L"b.txt"), 0), S_OK);
    ASSERT_EQ(writer.UpdateDecryptedItems(true, folder_.Path(L"gone.txt"), 0), S_OK);

    CDecryptedItems items;
    ASSERT_EQ(items.LoadItems(nullptr), S_OK);
    EXPECT_TRUE(items.Find(L"A.TXT")->Exists());
    EXPECT_FALSE(items.Find(L"GONE.TXT")->Exists());
    EXPECT_EQ(items.LoadItems(nullptr), S_FALSE);

    ASSERT_TRUE(::DeleteFileW(folder_.Path(L"a.txt").c_str()));
    EXPECT_EQ(items.LoadItems(nullptr), S_OK);
    EXPECT_FALSE(items.Find(L"A.TXT")->Exists());
    EXPECT_TRUE(items.Find(L"B.TXT")->Exists());
    EXPECT_EQ(items.LoadItems(nullptr), S_FALSE);

    // A save of its own changes the file, so the next load reads it again.
    items.Remove(L"B.TXT");
    ASSERT_EQ(items.SaveItems(), S_OK);
    items.InsertOrReplace(Item(L"unsaved", L"C:", false));
    EXPECT_EQ(items.LoadItems(nullptr), S_OK);
    EXPECT_EQ(items.Count(), 2u);
    EXPECT_EQ(items.Find(L"UNSAVED"), nullptr);
}

TEST_F(StoreTest, LoadCutShortByEitherStopEventIsFollowedByACompleteLoad) {
    sandbox_.WriteStore(InList("<item name=\"a\" folder=\"0\"/><item name=\"b\" folder=\"0\"/>"));
    KernelHandle stop(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    KernelHandle other(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(stop && other);
    CDecryptedItems items;
    EXPECT_EQ(items.LoadItems(stop.get()), S_OK);
    EXPECT_EQ(items.Count(), 0u);

    ASSERT_TRUE(::ResetEvent(stop.get()));
    EXPECT_EQ(items.LoadItems(stop.get(), other.get()), S_OK);
    EXPECT_EQ(items.Count(), 2u);
    EXPECT_EQ(items.LoadItems(stop.get(), other.get()), S_FALSE);

    sandbox_.WriteStore(InList("<item name=\"c\" folder=\"0\"/>"));
    ASSERT_TRUE(::SetEvent(other.get()));
    EXPECT_EQ(items.LoadItems(stop.get(), other.get()), S_OK);
    EXPECT_EQ(items.Count(), 0u);
    ASSERT_TRUE(::ResetEvent(other.get()));
    EXPECT_EQ(items.LoadItems(nullptr, other.get()), S_OK);
    EXPECT_EQ(items.Count(), 1u);
}

TEST_F(StoreTest, SaveRefusedWhileAReaderHoldsTheFileKeepsTheOldListAndNoTemporaryFile) {
    CDecryptedItems items;
    ASSERT_EQ(items.UpdateDecryptedItems(true, L"C:\\A\\old.txt", 0), S_OK);
    const std::string before = sandbox_.ReadStore();
    {
        FileHandle reader(::CreateFileW(sandbox_.StoreFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        items.InsertOrReplace(Item(L"new.txt", L"C:\\A", false));
        EXPECT_TRUE(FAILED(items.SaveItems()));
        EXPECT_EQ(sandbox_.ReadStore(), before);
        EXPECT_EQ(sandbox_.FilesInStoreFolder(), std::vector<std::wstring>{L"unprotected.xml"});
    }
    ASSERT_EQ(items.SaveItems(), S_OK);
    EXPECT_EQ(Reloaded()->Count(), 2u);
}

TEST_F(StoreTest, UpdateWhileAnotherWriterHoldsTheFileLeavesItsItemsAlone) {
    CDecryptedItems writer;
    writer.InsertOrReplace(Item(L"kept.txt", L"C:\\K", false));
    ASSERT_EQ(writer.SaveItems(), S_OK);
    CDecryptedItems engine;
    {
        // Sharing deletion only: Windows would let the store be replaced, but not read. (Wine
        // refuses the replacement as well, so there only the outcome is pinned.)
        FileHandle other(::CreateFileW(sandbox_.StoreFile().c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(other);
        EXPECT_EQ(engine.UpdateDecryptedItems(true, L"C:\\N\\new.txt", 0),
                  HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(Only(*Reloaded()).Name(), L"kept.txt");
}

}  // namespace
