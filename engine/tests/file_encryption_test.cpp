#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "engine/file_encryption.h"
#include "engine_test.h"
#include "store/decrypted_items.h"
#include "win/unfinished_path.h"
#include "win/unique_handle.h"

namespace {

class FileEncryptionTest : public EngineTest {
protected:
    DialogRun<CFileEncryption> engine_{kSecret};
};

struct PlainFile {
    const wchar_t* name;
    std::size_t size;
};

// Sizes around the 1024-byte chunk and the large transfer buffer, where an off-by-one in the
// chunking would change the bytes on disk.
const PlainFile kPlainFiles[] = {{L"a.txt", 0},
                                 {L"a.txt", 1},
                                 {L"a.txt", 1024},
                                 {L"a.txt", 3000},
                                 {L"archive.tar.gz", (1u << 20) + 1500},
                                 {L"big.bin", (4u << 20) + 7}};

TEST_F(FileEncryptionTest, WritesNameDotZteThatThePortableReaderDecryptsRemovesThePlainFileAndCountsIt) {
    for (const PlainFile& c : kPlainFiles) {
        SCOPED_TRACE(testing::Message() << "size " << c.size);
        const Bytes plain = PatternBytes(c.size);
        const std::wstring input = File(c.name, plain);

        EXPECT_EQ(engine_.ProcessFile(input, true), FileOutcome::Done());

        EXPECT_FALSE(FileExists(input));
        const Bytes output = ReadFileBytes(input + L".zte");
        const auto reading = PortableDecrypt(output);
        ASSERT_TRUE(reading);
        EXPECT_EQ(reading->header.fileName, std::u16string(c.name, c.name + wcslen(c.name)));
        EXPECT_FALSE(reading->header.useCompatibilityKey);
        EXPECT_EQ(reading->plain, plain);
        if (c.size == 0) {  // header only, with a zero checksum
            EXPECT_EQ(reading->header.checksum, 0u);
            EXPECT_EQ(output.size(), reading->header.headerSize);
        }
        ::DeleteFileW((input + L".zte").c_str());
    }
    EXPECT_EQ(engine_.ProcessedCount(), static_cast<int>(std::size(kPlainFiles)));
    EXPECT_EQ(engine_.Report().Count(), 0u);
    const std::u16string summary = engine_.Summary();
    EXPECT_NE(summary.find(u"6"), std::u16string::npos) << "the summary counts the encrypted files";
    EXPECT_EQ(summary.find(u"%d"), std::u16string::npos);
    EXPECT_EQ(engine_.GetOperationKind(), kOperationEncrypt);
}

// Either format, whichever the engine writes.
TEST_F(FileEncryptionTest, EncryptedFileIsSkippedSilentlyButAZteNameWithoutMagicIsEncrypted) {
    const Bytes encrypted = PortableEncrypt(u"x.txt", PatternBytes(100), 1);
    const Bytes sealed = PortableSeal("s.txt", PatternBytes(100));
    const std::wstring already = File(L"x.zte", encrypted);
    const std::wstring alreadySealed = File(L"s.zte", sealed);
    const std::wstring lookalike = File(L"y.zte", PatternBytes(100));
    DialogRun<CFileEncryption> sealing(kSecret, core::FileFormat::Sealed);

    EXPECT_EQ(engine_.ProcessFile(already, true), FileOutcome::Skipped());
    EXPECT_EQ(engine_.ProcessFile(alreadySealed, true), FileOutcome::Skipped());
    EXPECT_EQ(sealing.ProcessFile(already, true), FileOutcome::Skipped());
    EXPECT_EQ(sealing.ProcessFile(alreadySealed, true), FileOutcome::Skipped());
    EXPECT_EQ(engine_.ProcessFile(lookalike, true), FileOutcome::Done());

    EXPECT_EQ(ReadFileBytes(already), encrypted);
    EXPECT_EQ(ReadFileBytes(alreadySealed), sealed);
    EXPECT_FALSE(FileExists(already + L".zte"));
    EXPECT_FALSE(FileExists(alreadySealed + L".zte"));
    EXPECT_EQ(sealing.Report().Count(), 0u);
    EXPECT_TRUE(FileExists(lookalike + L".zte"));
    EXPECT_EQ(engine_.Report().Count(), 0u);
    EXPECT_EQ(engine_.ProcessedCount(), 1);
}

TEST_F(FileEncryptionTest, ReadOnlyInputGivesReadOnlyOutputAndASkippedOneStaysReadOnly) {
    const std::wstring input = File(L"a.txt", PatternBytes(2048));
    ASSERT_TRUE(::SetFileAttributesW(input.c_str(), FILE_ATTRIBUTE_READONLY));
    const DWORD readOnly = ::GetFileAttributesW(input.c_str());

    EXPECT_EQ(engine_.ProcessFile(input, true), FileOutcome::Done());

    const std::wstring output = input + L".zte";
    EXPECT_FALSE(FileExists(input));
    EXPECT_EQ(::GetFileAttributesW(output.c_str()), readOnly);

    const std::wstring encrypted = File(L"b.zte", PortableEncrypt(u"b.txt", PatternBytes(10), 1));
    ASSERT_TRUE(::SetFileAttributesW(encrypted.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(engine_.ProcessFile(encrypted, true), FileOutcome::Skipped());
    EXPECT_EQ(::GetFileAttributesW(encrypted.c_str()), readOnly);
    ::SetFileAttributesW(output.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesW(encrypted.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileEncryptionTest, CancelledRunLeavesTheInputAndNoPartialOutput) {
    ASSERT_NE(engine_.Progress()->Window(), nullptr) << "no progress dialog (no DISPLAY?)";
    const Bytes plain = PatternBytes(3000);
    const std::wstring input = File(L"a.txt", plain);
    ::PostMessageW(engine_.Progress()->Window(), WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 250 && !engine_.IsCancelled(); ++i) ::Sleep(20);
    ASSERT_TRUE(engine_.IsCancelled());

    EXPECT_EQ(engine_.ProcessFile(input, true), FileOutcome::Failed(E_ABORT));

    EXPECT_EQ(ReadFileBytes(input), plain);
    EXPECT_FALSE(FileExists(input + L".zte"));
    EXPECT_EQ(EngineTest::Text(engine_.Report()), Entry(IDS_CANCELLED, input, S_OK));
}

TEST_F(FileEncryptionTest, PlainFileAnotherProgramReadsWithoutSharingWritesIsLeftAloneWithEntry12) {
    const Bytes plain = PatternBytes(3000);
    const std::wstring input = File(L"a.txt", plain);
    // Another program reading the file lets it be read and deleted, but not overwritten.
    const FileHandle reader(::CreateFileW(input.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);

    const FileOutcome outcome = engine_.ProcessFile(input, true);

    EXPECT_EQ(outcome, FileOutcome::Failed(HResultFromWin32(ERROR_SHARING_VIOLATION)));
    EXPECT_EQ(ReadFileBytes(input), plain);
    EXPECT_FALSE(FileExists(input + L".zte"));
    EXPECT_EQ(Text(engine_.Report()), Entry(IDS_CANNOT_OPEN, input, outcome.Status()));
}

TEST_F(FileEncryptionTest, PlainFileThatCannotBeDeletedAfterItsWipeLeavesTheEncryptedCopy) {
    const Bytes plain = PatternBytes(3000);
    const std::wstring input = File(L"a.txt", plain);
    DialogRun<RefusingUnfinishedRemoval<CFileEncryption>> engine{kSecret};

    EXPECT_EQ(engine.ProcessFile(input, true), FileOutcome::Failed(HResultFromWin32(ERROR_ACCESS_DENIED)));

    const auto reading = PortableDecrypt(ReadFileBytes(input + L".zte"));
    ASSERT_TRUE(reading) << "the only intact copy was removed";
    EXPECT_EQ(reading->plain, plain);
    // The wiped file is set aside, hidden as a leftover, never left under the name the user knows.
    EXPECT_FALSE(FileExists(input));
    EXPECT_EQ(ReadFileBytes(UnfinishedPath(input, 1)), Bytes(plain.size(), 0));
    EXPECT_TRUE(::GetFileAttributesW(UnfinishedPath(input, 1).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(Text(engine.Report()), Entry(IDS_CANNOT_DELETE, input, HResultFromWin32(ERROR_ACCESS_DENIED)));
}

// With nothing overwritten, the plain file goes back to its name exactly as it was, and the
// encrypted copy already in place stays beside it.
TEST_F(FileEncryptionTest, AWipeThatFailsBeforeOverwritingPutsThePlainFileBackAsItWasBesideItsCopy) {
    const std::wstring input = File(L"a.txt", {});
    ASSERT_TRUE(::SetFileAttributesW(input.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    const DWORD attributes = ::GetFileAttributesW(input.c_str());
    DialogRun<RefusingUnfinishedRemoval<CFileEncryption>> engine{kSecret};

    EXPECT_EQ(engine.ProcessFile(input, true), FileOutcome::Failed(HResultFromWin32(ERROR_ACCESS_DENIED)));

    EXPECT_EQ(::GetFileAttributesW(input.c_str()), attributes);
    EXPECT_TRUE(PortableDecrypt(ReadFileBytes(input + L".zte")));
    EXPECT_FALSE(FileExists(UnfinishedPath(input, 1)));
    ::SetFileAttributesW(input.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesW((input + L".zte").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Encryption copies only the unnamed stream; the others would go with the file.
class WithNamedStreams : public CFileEncryption {
public:
    explicit WithNamedStreams(IRunObserver& observer) : CFileEncryption(observer, kSecret) {}

protected:
    bool HoldsNamedStreams() const override { return true; }
};

// Wiping a file with several names would destroy the content under every one of them.
TEST_F(FileEncryptionTest, AFileWithNamedStreamsOrSeveralNamesIsNotEncryptedAndTheReportSaysWhy) {
    const Bytes content = PatternBytes(3000);
    const auto skipped = [&](auto& engine, const std::wstring& input, UINT entry) {
        EXPECT_EQ(engine.ProcessFile(input, true), FileOutcome::Skipped());
        EXPECT_EQ(ReadFileBytes(input), content);
        EXPECT_FALSE(FileExists(input + L".zte"));
        EXPECT_EQ(Text(engine.Report()), Entry(entry, input, S_OK));
    };
    DialogRun<WithNamedStreams> streams;
    skipped(streams, File(L"streams.txt", content), IDS_SKIPPED_STREAMS);

    const std::wstring input = File(L"a.txt", content);
    const std::wstring other = folder_.Path(L"other name.txt");
    ASSERT_TRUE(::CreateHardLinkW(other.c_str(), input.c_str(), nullptr));
    skipped(engine_, input, IDS_SKIPPED_HARD_LINKS);
    EXPECT_EQ(ReadFileBytes(other), content);
}

TEST_F(FileEncryptionTest, OutputThatCannotBeCreatedGivesEntry13Only) {
    // The name fits the file system, the name with ".zte" does not.
    const Bytes plain = PatternBytes(100);
    const std::wstring input = File(std::wstring(250, L'n') + L".txt", plain);

    const FileOutcome outcome = engine_.ProcessFile(input, true);

    EXPECT_TRUE(outcome.IsFailure());
    EXPECT_EQ(ReadFileBytes(input), plain);
    EXPECT_EQ(Text(engine_.Report()), Entry(IDS_CANNOT_CREATE, input + L".zte", outcome.Status()));
    // The shell's removal of the test folder stops at a path this long.
    EXPECT_TRUE(::DeleteFileW(input.c_str()));
}

TEST_F(FileEncryptionTest, EncryptingANamedFileRemovesItFromTheStore) {
    const std::wstring input = File(L"listed.txt", PatternBytes(10));
    {
        CDecryptedItems items;
        ASSERT_EQ(items.UpdateDecryptedItems(true, input, 0), S_OK);
    }
    ASSERT_TRUE(StoreHolds(L"listed.txt"));

    EXPECT_EQ(engine_.ProcessFile(input, true), FileOutcome::Done());

    EXPECT_FALSE(StoreHolds(L"listed.txt"));
}

}  // namespace
