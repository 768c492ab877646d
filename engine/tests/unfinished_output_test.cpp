#include <gtest/gtest.h>

#include <set>

#include "app/resources/resource_ids.h"
#include "engine/file_decryption.h"
#include "engine/file_encryption.h"
#include "engine_test.h"
#include "win/path_parts.h"
#include "win/unfinished_path.h"
#include "win/unique_handle.h"

namespace {

class UnfinishedOutputTest : public EngineTest {
protected:
    // Every name in the test's folder, hidden ones too.
    std::set<std::wstring> Names() const {
        std::set<std::wstring> names;
        WIN32_FIND_DATAW found{};
        const FindHandle search(::FindFirstFileW(folder_.Path(L"*").c_str(), &found));
        if (!search) return names;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") names.insert(name);
        } while (::FindNextFileW(search.get(), &found));
        return names;
    }

    // What a run that died in the middle of the final name's output left behind.
    std::wstring Leftover(const std::wstring& finalName, unsigned attempt) const {
        const std::wstring path = UnfinishedPath(folder_.Path(finalName), attempt);
        WriteFileBytes(path, PatternBytes(777, 3));
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
        return path;
    }

    // The encrypted file's refusal, reported with its entry, leaves only that file, as it was.
    void ExpectRefusedAndKept(const Bytes& file, HRESULT status, UINT entry) {
        const std::wstring input = File(L"a.txt.zte", file);
        DialogRun<CFileDecryption> engine{kSecret};

        EXPECT_EQ(engine.ProcessFile(input, true), FileOutcome::Failed(status));

        EXPECT_EQ(Names(), (std::set<std::wstring>{L"a.txt.zte"}));
        EXPECT_EQ(ReadFileBytes(input), file);
        EXPECT_EQ(Text(engine.Report()), Entry(entry, input, status));
        EXPECT_EQ(engine.ProcessedCount(), 0);
    }
};

TEST_F(UnfinishedOutputTest, LeftoversOfDeadRunsGoOnceTheOutputIsCompleteAndNothingElseRemains) {
    const Bytes plain = PatternBytes(3 * 1024 * 1024 + 5);
    const std::wstring input = File(L"a.txt", plain);
    Leftover(L"a.txt.zte", 1);
    Leftover(L"a.txt.zte", 7);
    const std::wstring unrelated = Leftover(L"b.txt.zte", 1);
    DialogRun<CFileEncryption> encryption{kSecret};

    ASSERT_EQ(encryption.ProcessFile(input, true), FileOutcome::Done());

    EXPECT_EQ(Names(), (std::set<std::wstring>{L"a.txt.zte", FileNameOf(unrelated)}));
    EXPECT_FALSE(::GetFileAttributesW((input + L".zte").c_str()) & FILE_ATTRIBUTE_HIDDEN);

    Leftover(L"a.txt", 1);
    Leftover(L"a.txt", 2);
    DialogRun<CFileDecryption> decryption{kSecret};

    ASSERT_EQ(decryption.ProcessFile(input + L".zte", true), FileOutcome::Done());

    EXPECT_EQ(Names(), (std::set<std::wstring>{L"a.txt", FileNameOf(unrelated)}));
    EXPECT_EQ(ReadFileBytes(input), plain);
    EXPECT_EQ(encryption.Report().Count() + decryption.Report().Count(), 0u);
}

// A leftover may hold plain text whose wipe was cut short: every engine overwrites it before
// it goes, which a reader that shares its deletion sees through its own handle.
TEST_F(UnfinishedOutputTest, ALeftoverAWalkMeetsIsOverwrittenAndRemovedByEveryEngine) {
    DialogRun<CFileEncryption> encryption{kSecret};
    DialogRun<CFileDecryption> decryption{kSecret};
    for (CEncryptionDecryption* engine : {static_cast<CEncryptionDecryption*>(&encryption),
                                          static_cast<CEncryptionDecryption*>(&decryption)}) {
        const std::wstring leftover = Leftover(L"a.txt", 1);
        const FileHandle reader(::CreateFileW(leftover.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);

        engine->ProcessLeftover(leftover, false);

        Bytes seen(777);
        DWORD read = 0;
        ASSERT_TRUE(::ReadFile(reader.get(), seen.data(), static_cast<DWORD>(seen.size()), &read, nullptr));
        EXPECT_EQ(seen, Bytes(777, 0));
    }
    EXPECT_TRUE(Names().empty());
    EXPECT_EQ(encryption.ProcessedCount() + decryption.ProcessedCount(), 0);
    EXPECT_EQ(encryption.Report().Count() + decryption.Report().Count(), 0u);
}

// Only what this program provably left is removed: a hidden plain file with one name, not a
// system file, found in a chosen folder. Anything else under such a name is the user's.
TEST_F(UnfinishedOutputTest, AFileNamedLikeALeftoverThatIsNotProvablyOursIsLeftAloneWithEntry82) {
    const Bytes content = PatternBytes(3000);
    const std::wstring userFile = File(L"notes.~ZT-Unfinished-7", content);
    const std::wstring original = File(L"a.txt", content);
    const std::wstring secondName = UnfinishedPath(original + L".zte", 1);
    ASSERT_TRUE(::CreateHardLinkW(secondName.c_str(), original.c_str(), nullptr));
    ASSERT_TRUE(::SetFileAttributesW(secondName.c_str(), FILE_ATTRIBUTE_HIDDEN));
    const std::wstring system = Leftover(L"s.txt", 1);
    ASSERT_TRUE(::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    const std::wstring named = Leftover(L"n.txt", 1);
    DialogRun<CFileEncryption> engine{kSecret};

    engine.ProcessLeftover(userFile, false);
    engine.ProcessLeftover(secondName, false);
    engine.ProcessLeftover(system, false);
    engine.ProcessLeftover(named, true);

    EXPECT_EQ(ReadFileBytes(userFile), content);
    EXPECT_EQ(ReadFileBytes(original), content);
    EXPECT_EQ(ReadFileBytes(system), PatternBytes(777, 3));
    EXPECT_EQ(ReadFileBytes(named), PatternBytes(777, 3));
    EXPECT_EQ(Text(engine.Report()),
              Entry(IDS_NOT_A_LEFTOVER, userFile, S_OK) + Entry(IDS_NOT_A_LEFTOVER, secondName, S_OK) +
                  Entry(IDS_NOT_A_LEFTOVER, system, S_OK) + Entry(IDS_NOT_A_LEFTOVER, named, S_OK));
    ::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesW(named.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A run killed between setting its plain file aside and hiding it leaves it visible; it is
// still provably a leftover while its complete encrypted copy lies beside it.
// Visible and empty is how a run killed between an output's creation and its hidden attribute
// leaves it, where the system sets the attribute after it made the file (Wine does).
TEST_F(UnfinishedOutputTest, AVisibleLeftoverGoesOnlyEmptyOrBesideTheCompleteEncryptedCopyOfItsContent) {
    const Bytes plain = PatternBytes(3000);
    const std::wstring setAside = File(L"a.txt.~zt-unfinished-1", plain);
    File(L"a.txt.zte", PortableEncrypt(u"a.txt", plain, 1));
    const std::wstring other = File(L"b.txt.~zt-unfinished-2", plain);
    File(L"b.txt.zte", PortableEncrypt(u"b.txt", PatternBytes(3000, 9), 1));
    const std::wstring justCreated = File(L"c.txt.~zt-unfinished-1", {});
    DialogRun<CFileEncryption> engine{kSecret};

    engine.ProcessLeftover(setAside, false);
    engine.ProcessLeftover(other, false);
    engine.ProcessLeftover(justCreated, false);

    EXPECT_FALSE(FileExists(setAside));
    EXPECT_FALSE(FileExists(justCreated));
    EXPECT_EQ(ReadFileBytes(other), plain);
    EXPECT_EQ(Text(engine.Report()), Entry(IDS_NOT_A_LEFTOVER, other, S_OK));
}

TEST_F(UnfinishedOutputTest, ALeftoverALiveRunHoldsStaysAndOneAlreadyGoneIsNotMentioned) {
    const std::wstring held = Leftover(L"a.txt.zte", 1);
    ASSERT_TRUE(::SetFileAttributesW(held.c_str(), FILE_ATTRIBUTE_HIDDEN));
    const FileHandle writer(
        ::CreateFileW(held.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    DialogRun<CFileDecryption> engine{kSecret};

    engine.ProcessLeftover(held, false);
    engine.ProcessLeftover(UnfinishedPath(folder_.Path(L"gone.txt"), 1), false);

    EXPECT_TRUE(FileExists(held));
    EXPECT_EQ(Text(engine.Report()),
              Entry(IDS_CANNOT_DELETE, held, HResultFromWin32(ERROR_SHARING_VIOLATION)));
    ::SetFileAttributesW(held.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// An engine that meets another program taking the output's name after it looked.
template <class Engine>
class RacedForTheName : public Engine {
public:
    explicit RacedForTheName(IRunObserver& observer) : Engine(observer, kSecret) {}
    const Bytes otherContent = PatternBytes(50, 77);

protected:
    bool CreateOutFileName() override {
        const bool free = Engine::CreateOutFileName();
        WriteFileBytes(this->file_.outputPath, otherContent);
        return free;
    }
};

TEST_F(UnfinishedOutputTest, ANameTakenDuringTheRunGivesEntry28AndKeepsBothFiles) {
    const auto raced = [this](auto& engine, const std::wstring& from, const std::wstring& to) {
        const Bytes content = ReadFileBytes(from);
        EXPECT_EQ(engine.ProcessFile(from, true),
                  FileOutcome::Failed(HResultFromWin32(ERROR_ALREADY_EXISTS)));
        EXPECT_EQ(ReadFileBytes(from), content);
        EXPECT_EQ(ReadFileBytes(to), engine.otherContent);
        EXPECT_EQ(Names(), (std::set<std::wstring>{L"a.txt", L"a.txt.zte"}));
        EXPECT_EQ(Text(engine.Report()), Entry(IDS_OUTPUT_EXISTS, to, S_OK));
    };
    const Bytes plain = PatternBytes(5000);
    const std::wstring input = File(L"a.txt", plain);
    DialogRun<RacedForTheName<CFileEncryption>> encryption;
    raced(encryption, input, input + L".zte");

    ASSERT_TRUE(::DeleteFileW(input.c_str()));
    WriteFileBytes(input + L".zte", PortableEncrypt(u"a.txt", plain, 1));
    DialogRun<RacedForTheName<CFileDecryption>> decryption;
    raced(decryption, input + L".zte", input);
}

// Either key: the compatibility key's failure must end the same way as the primary key's.
TEST_F(UnfinishedOutputTest, AWrongKeyGivesEntry31AndLeavesOnlyTheEncryptedFileUnchanged) {
    for (const std::uint8_t type : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "type " << int{type});
        ExpectRefusedAndKept(PortableEncrypt(u"a.txt", PatternBytes(3000), type, kOtherSecret), NTE_BAD_KEY,
                             IDS_WRONG_KEY);
    }
}

// Each format's own cut: the sealed file read from its start again, after its name, and to its
// last message, with nothing written.
TEST_F(UnfinishedOutputTest, ASealedFileAlteredCutOrOfAnotherSecretGivesEntry88AndLeavesOnlyItself) {
    const Bytes plain = PatternBytes(3 * 65536 + 100);
    const Bytes sealed = PortableSeal("a.txt", plain);
    Bytes altered = sealed;
    altered[49 + 22 + 2 * 65553 + 10] ^= 1;  // in the third message, after two went to the output
    const Bytes cut(sealed.begin(), sealed.end() - 117);  // at the boundary of the final message
    Bytes newerVersion = sealed;
    newerVersion[4] = 2;
    for (const Bytes& file : {PortableSeal("a.txt", plain, kOtherSecret), altered, cut, newerVersion}) {
        SCOPED_TRACE(testing::Message() << "size " << file.size());
        ExpectRefusedAndKept(file, NTE_BAD_DATA, IDS_SEALED_REFUSED);
    }
}

// A run that died after its output reached its name, before the input went, leaves both:
// in either format, the plain file is compared with the encrypted one's content.
TEST_F(UnfinishedOutputTest, BothFilesLeftByARunThatDiedAfterItsMoveAreFinishedByTheNextRun) {
    const Bytes plain = PatternBytes(2 * 1024 * 1024 + 77);
    for (const Bytes& encrypted : {PortableEncrypt(u"a.txt", plain, 1), PortableSeal("a.txt", plain)}) {
        const std::wstring input = File(L"a.txt", plain);
        File(L"a.txt.zte", encrypted);
        DialogRun<CFileEncryption> encryption{kSecret};

        EXPECT_EQ(encryption.ProcessFile(input, true), FileOutcome::Done());

        EXPECT_EQ(Names(), (std::set<std::wstring>{L"a.txt.zte"}));
        EXPECT_EQ(ReadFileBytes(input + L".zte"), encrypted);

        File(L"a.txt", plain);
        DialogRun<CFileDecryption> decryption{kSecret};

        EXPECT_EQ(decryption.ProcessFile(input + L".zte", true), FileOutcome::Done());

        EXPECT_EQ(Names(), (std::set<std::wstring>{L"a.txt"}));
        EXPECT_EQ(ReadFileBytes(input), plain);
        EXPECT_EQ(encryption.Report().Count() + decryption.Report().Count(), 0u);
        EXPECT_EQ(encryption.ProcessedCount() + decryption.ProcessedCount(), 2);
        ::DeleteFileW(input.c_str());
    }
}

// A plain file that differs from the encrypted one in a byte, in its name or in length is
// the user's, not a finished output; so is any file under the output's name that is not
// encrypted.
TEST_F(UnfinishedOutputTest, APairThatDiffersInAnyWayIsLeftAloneWithEntry28) {
    const Bytes plain = PatternBytes(5000);
    Bytes changed = plain;
    changed[4321] ^= 1;
    Bytes longer = plain;
    longer.push_back(0);
    const struct {
        Bytes onDisk;
        Bytes output;
    } cases[] = {{changed, PortableEncrypt(u"a.txt", plain, 1)},
                 {longer, PortableEncrypt(u"a.txt", plain, 1)},
                 {plain, PortableEncrypt(u"b.txt", plain, 1)},
                 {changed, PortableSeal("a.txt", plain)},
                 {longer, PortableSeal("a.txt", plain)},
                 {plain, PortableSeal("b.txt", plain)},
                 {plain, PortableSeal("a.txt", plain, kOtherSecret)},
                 {plain, PatternBytes(20, 99)}};
    for (const auto& c : cases) {
        const std::wstring input = File(L"a.txt", c.onDisk);
        File(L"a.txt.zte", c.output);
        DialogRun<CFileEncryption> engine{kSecret};

        EXPECT_EQ(engine.ProcessFile(input, true), FileOutcome::Skipped());

        EXPECT_EQ(ReadFileBytes(input), c.onDisk);
        EXPECT_EQ(ReadFileBytes(input + L".zte"), c.output);
        EXPECT_EQ(Text(engine.Report()), Entry(IDS_OUTPUT_EXISTS, input + L".zte", S_OK));
        EXPECT_EQ(engine.ProcessedCount(), 0);
    }
}

}  // namespace
