// Files done in batches through the walk: a file that fails at any step fails alone, a cancel
// ends only the file in hand, and the report reads as if the files had been done one by one.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/resources/resource_ids.h"
#include "engine/file_decryption.h"
#include "engine/file_encryption.h"
#include "engine_test.h"
#include "every_file_walk.h"
#include "win/folder_listing.h"
#include "win/path_parts.h"
#include "win/wide_text.h"

namespace {

// An engine that does something just before an output of the batch is moved into place.
template <class Engine>
class BeforeMove : public Engine {
public:
    template <class... Args>
    BeforeMove(IRunObserver& observer, std::function<void(const std::wstring& output)> meanwhile,
               Args&&... args)
        : Engine(observer, std::forward<Args>(args)...), meanwhile_(std::move(meanwhile)) {}

protected:
    void MoveOutputIntoPlace() override {
        meanwhile_(this->file_.outputPath);
        Engine::MoveOutputIntoPlace();
    }

private:
    std::function<void(const std::wstring&)> meanwhile_;
};

// The user presses Cancel as the walk reaches the file of that name.
class CancelledAt : public CFileEncryption {
public:
    CancelledAt(IRunObserver& observer, std::wstring name)
        : CFileEncryption(observer, kSecret), name_(std::move(name)) {}

protected:
    std::optional<FileOutcome> CheckInputFile() override {
        if (FileNameOf(file_.inputPath) == name_) {
            auto& dialogs = dynamic_cast<CRunDialogs&>(*this);
            ::PostMessageW(dialogs.Progress()->Window(), WM_COMMAND, IDCANCEL, 0);
            for (int i = 0; i < 250 && !observer_.IsCancelled(); ++i) ::Sleep(20);
        }
        return CFileEncryption::CheckInputFile();
    }

private:
    std::wstring name_;
};

class BatchTest : public EngineTest {
protected:
    // Files "f<i>.txt" in a new folder, each of its own content; their paths in the order a
    // listing of the folder, and so the walk, meets them.
    std::vector<std::wstring> Files(const std::wstring& folder, int count) {
        for (int i = 0; i < count; ++i) File(folder + L"\\f" + std::to_wstring(i) + L".txt", Content(i));
        std::vector<std::wstring> listed;
        EXPECT_EQ(ListFolderEntries(folder_.Path(folder), listed), S_OK);
        return listed;
    }
    static Bytes Content(int i) { return PatternBytes(700 + 37 * i, static_cast<std::uint8_t>(i)); }
    static int IndexOf(const std::wstring& path) { return std::stoi(FileNameOf(path).substr(1)); }
    static void ExpectEncrypted(const std::wstring& path) {
        EXPECT_FALSE(FileExists(path)) << ::testing::PrintToString(path);
        const auto reading = PortableDecrypt(ReadFileBytes(path + L".zte"));
        ASSERT_TRUE(reading) << ::testing::PrintToString(path);
        EXPECT_EQ(reading->plain, Content(IndexOf(path)));
    }
    static void ExpectUntouched(const std::wstring& path) {
        EXPECT_EQ(ReadFileBytes(path), Content(IndexOf(path))) << ::testing::PrintToString(path);
    }
    // No file of the folder is under an unfinished name.
    void ExpectNoUnfinishedFile(const std::wstring& folder) {
        std::vector<std::wstring> names;
        ListFolderEntries(folder_.Path(folder), names);
        EXPECT_TRUE(std::none_of(names.begin(), names.end(), IsUnfinishedPath))
            << ::testing::PrintToString(names);
    }
};

TEST_F(BatchTest, AFileThatFailsAtItsMoveFailsAloneAndItsEntryKeepsItsPlaceInTheReport) {
    Folder(L"batch");
    const std::vector<std::wstring> files = Files(L"batch", 10);
    // The second file met fails when its batch moves it; the eighth is left alone as soon as
    // it is met, before the batch is done, and a second name keeps it out.
    const std::wstring taken = files[1] + L".zte";
    const std::wstring linked = files[7];
    ASSERT_TRUE(::CreateHardLinkW(folder_.Path(L"second name.txt").c_str(), linked.c_str(), nullptr));
    const Bytes intruder = PatternBytes(55, 99);
    DialogRun<BeforeMove<CFileEncryption>> engine{[&](const std::wstring& output) {
                                                      if (output == taken) WriteFileBytes(output, intruder);
                                                  },
                                                  kSecret};

    WalkEveryFile(engine, folder_.Path(L"batch"));

    for (const std::wstring& file : files)
        if (file != files[1] && file != linked) ExpectEncrypted(file);
    ExpectUntouched(files[1]);
    ExpectUntouched(linked);
    EXPECT_EQ(ReadFileBytes(taken), intruder);
    ExpectNoUnfinishedFile(L"batch");
    EXPECT_EQ(engine.ProcessedCount(), 8);
    EXPECT_EQ(Text(engine.Report()),
              Entry(IDS_OUTPUT_EXISTS, taken, S_OK) + Entry(IDS_SKIPPED_HARD_LINKS, linked, S_OK));
}

TEST_F(BatchTest, ACancelEndsTheFileInHandAndTheFilesWrittenBeforeItAreDone) {
    Folder(L"batch");
    const std::vector<std::wstring> files = Files(L"batch", 6);
    DialogRun<CancelledAt> engine{FileNameOf(files[2])};
    ASSERT_NE(engine.Progress()->Window(), nullptr) << "no progress dialog (no DISPLAY?)";

    WalkEveryFile(engine, folder_.Path(L"batch"));

    ExpectEncrypted(files[0]);
    ExpectEncrypted(files[1]);
    for (std::size_t i = 2; i < files.size(); ++i) {
        ExpectUntouched(files[i]);
        EXPECT_FALSE(FileExists(files[i] + L".zte"));
    }
    ExpectNoUnfinishedFile(L"batch");
    EXPECT_EQ(Text(engine.Report()), Entry(IDS_CANCELLED, files[2], S_OK));
}

// An engine dropped with a batch still waiting, as a run that ends by an error would drop it:
// what it wrote goes, and every input stays as it was.
TEST_F(BatchTest, AnEngineDroppedWithABatchWaitingRemovesItsOutputsAndLeavesTheInputs) {
    Folder(L"batch");
    const std::vector<std::wstring> files = Files(L"batch", 5);
    {
        DialogRun<CFileEncryption> engine{kSecret};
        for (const std::wstring& file : files) EXPECT_EQ(engine.QueueFile(file, false), std::nullopt);
    }

    for (const std::wstring& file : files) {
        ExpectUntouched(file);
        EXPECT_FALSE(FileExists(file + L".zte"));
    }
    ExpectNoUnfinishedFile(L"batch");
}

// Two encrypted copies of one file whose outputs meet in a batch: the second finds the first's
// output in place, the same bytes it holds, and only goes, as one file after another would.
TEST_F(BatchTest, ASecondCopyOfAFileInTheSameBatchFindsTheFirstOnesOutputAndGoes) {
    Folder(L"batch");
    const Bytes plain = PatternBytes(2500, 4);
    const Bytes encrypted = PortableEncrypt(u"a.txt", plain, 1);
    const std::wstring first = File(L"batch\\a.txt.zte", encrypted);
    const std::wstring second = File(L"batch\\copy of a.txt.zte", encrypted);
    DialogRun<CFileDecryption> decryption{kSecret};

    WalkEveryFile(decryption, folder_.Path(L"batch"));

    EXPECT_EQ(ReadFileBytes(folder_.Path(L"batch\\a.txt")), plain);
    EXPECT_FALSE(FileExists(first));
    EXPECT_FALSE(FileExists(second));
    ExpectNoUnfinishedFile(L"batch");
    EXPECT_EQ(decryption.ProcessedCount(), 2);
    EXPECT_EQ(Text(decryption.Report()), L"");
}

// More files than a batch holds, one of them of another user's key: it alone stays encrypted.
TEST_F(BatchTest, DecryptingAFolderLargerThanABatchDecryptsAllButTheFileOfAnotherKey) {
    Folder(L"batch");
    const std::vector<std::wstring> files = Files(L"batch", 150);
    DialogRun<CFileEncryption> encryption{kSecret};
    WalkEveryFile(encryption, folder_.Path(L"batch"));
    ASSERT_EQ(encryption.ProcessedCount(), 150);
    const std::wstring foreign = files[100] + L".zte";
    WriteFileBytes(foreign, PortableEncrypt(std::u16string(AsU16(FileNameOf(files[100]))), Content(100), 1,
                                            kOtherSecret));
    DialogRun<CFileDecryption> decryption{kSecret};

    WalkEveryFile(decryption, folder_.Path(L"batch"));

    for (const std::wstring& file : files) {
        if (file == files[100]) continue;
        ExpectUntouched(file);
        EXPECT_FALSE(FileExists(file + L".zte"));
    }
    EXPECT_FALSE(FileExists(files[100]));
    EXPECT_TRUE(FileExists(foreign));
    ExpectNoUnfinishedFile(L"batch");
    EXPECT_EQ(decryption.ProcessedCount(), 149);
    EXPECT_EQ(Text(decryption.Report()), Entry(IDS_WRONG_KEY, foreign, NTE_BAD_KEY));
}

}  // namespace
