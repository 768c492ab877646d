// Two runs over the same files (Encrypt chosen twice, or from Explorer and the dashboard at
// once): whatever one run holds, the other can neither take away nor remove on its strength,
// and an output under its final name is never removed.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <utility>

#include "app/resources/resource_ids.h"
#include "engine/file_decryption.h"
#include "engine/file_encryption.h"
#include "engine_test.h"
#include "win/handle_stream.h"
#include "win/unfinished_path.h"

namespace {

// An engine that lets another run act at the moment it removes its input, the last step of a
// file, with everything it holds still held.
template <class Engine>
class Interleaved : public Engine {
public:
    Interleaved(IRunObserver& observer, std::function<void()> meanwhile)
        : Engine(observer, kSecret), meanwhile_(meanwhile) {}

protected:
    void RemoveHeld(HANDLE file, const std::wstring& path) override {
        if (meanwhile_) std::exchange(meanwhile_, nullptr)();
        Engine::RemoveHeld(file, path);
    }

private:
    std::function<void()> meanwhile_;
};

using OverlappingRunsTest = EngineTest;

TEST_F(OverlappingRunsTest, WhileARunRemovesItsInputNoOtherRunTakesTheInputItsCopyOrItsLeftover) {
    const Bytes plain = PatternBytes(5000);
    const std::wstring input = File(L"a.txt", plain);
    DialogRun<CFileEncryption> second{kSecret};
    DialogRun<CFileDecryption> decryption{kSecret};
    DialogRun<Interleaved<CFileEncryption>> first([&] {
        EXPECT_TRUE(second.ProcessFile(input, true).IsFailure());
        second.ProcessLeftover(UnfinishedPath(input, 1), false);
        EXPECT_EQ(decryption.ProcessFile(input + L".zte", true), FileOutcome::Skipped());
    });

    EXPECT_EQ(first.ProcessFile(input, true), FileOutcome::Done());

    const auto reading = PortableDecrypt(ReadFileBytes(input + L".zte"));
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->plain, plain);
    EXPECT_FALSE(FileExists(input));
    EXPECT_FALSE(FileExists(UnfinishedPath(input, 1)));
    EXPECT_EQ(Text(second.Report()), Entry(IDS_CANNOT_OPEN, input, HResultFromWin32(ERROR_FILE_NOT_FOUND)) +
                                         Entry(IDS_CANNOT_DELETE, UnfinishedPath(input, 1),
                                               HResultFromWin32(ERROR_SHARING_VIOLATION)));
    EXPECT_EQ(Text(decryption.Report()),
              Entry(IDS_CANNOT_OPEN, input + L".zte", HResultFromWin32(ERROR_SHARING_VIOLATION)));
}

// A pair left by a run that died after its move: an encryption removes the plain file on the
// strength of the encrypted one, a decryption the other way round. Run at once, one of them
// must find its copy held, or both copies would go.
TEST_F(OverlappingRunsTest, AnEncryptionAndADecryptionFinishingTheSamePairLeaveOneOfTheCopies) {
    const Bytes plain = PatternBytes(3000);
    const Bytes encrypted = PortableEncrypt(u"a.txt", plain, 1);
    const std::wstring input = File(L"a.txt", plain);
    File(L"a.txt.zte", encrypted);
    DialogRun<CFileDecryption> decryption{kSecret};
    DialogRun<Interleaved<CFileEncryption>> encryption(
        [&] { EXPECT_EQ(decryption.ProcessFile(input + L".zte", true), FileOutcome::Skipped()); });

    EXPECT_EQ(encryption.ProcessFile(input, true), FileOutcome::Done());

    EXPECT_FALSE(FileExists(input));
    EXPECT_EQ(ReadFileBytes(input + L".zte"), encrypted);
    EXPECT_EQ(Text(decryption.Report()),
              Entry(IDS_CANNOT_OPEN, input + L".zte", HResultFromWin32(ERROR_SHARING_VIOLATION)));

    File(L"a.txt", plain);
    DialogRun<CFileEncryption> laterEncryption{kSecret};
    DialogRun<Interleaved<CFileDecryption>> laterDecryption(
        [&] { EXPECT_TRUE(laterEncryption.ProcessFile(input, true).IsFailure()); });

    EXPECT_EQ(laterDecryption.ProcessFile(input + L".zte", true), FileOutcome::Done());

    EXPECT_FALSE(FileExists(input + L".zte"));
    EXPECT_EQ(ReadFileBytes(input), plain);
    EXPECT_EQ(Text(laterEncryption.Report()),
              Entry(IDS_CANNOT_OPEN, input, HResultFromWin32(ERROR_SHARING_VIOLATION)));
}

// An engine whose removal of its input is refused, as when a virus scanner holds it.
class InputNotRemoved : public CFileDecryption {
public:
    explicit InputNotRemoved(IRunObserver& observer) : CFileDecryption(observer, kSecret) {}

protected:
    void RemoveHeld(HANDLE file, const std::wstring& path) override {
        if (path == file_.inputPath) ThrowWin32(ERROR_ACCESS_DENIED);
        CFileDecryption::RemoveHeld(file, path);
    }
};

TEST_F(OverlappingRunsTest, AnOutputUnderItsFinalNameStaysWhenItsInputCannotBeRemoved) {
    const Bytes plain = PatternBytes(3000);
    const Bytes encrypted = PortableEncrypt(u"a.txt", plain, 1);
    const std::wstring input = File(L"a.txt.zte", encrypted);
    DialogRun<InputNotRemoved> engine;

    EXPECT_EQ(engine.ProcessFile(input, true), FileOutcome::Failed(HResultFromWin32(ERROR_ACCESS_DENIED)));

    EXPECT_EQ(ReadFileBytes(input), encrypted);
    EXPECT_EQ(ReadFileBytes(folder_.Path(L"a.txt")), plain);
    EXPECT_EQ(Text(engine.Report()), Entry(IDS_CANNOT_DELETE, input, HResultFromWin32(ERROR_ACCESS_DENIED)));
}

// Stands in for a change that the engine's hold should have kept out: a write to the input,
// or a new last-write time, once the output is begun.
template <class Engine>
class ChangedMeanwhile : public Engine {
public:
    explicit ChangedMeanwhile(IRunObserver& observer) : Engine(observer, kSecret) {}

protected:
    bool CreateOutFileName() override {
        const bool free = Engine::CreateOutFileName();
        FILETIME written{};
        ::GetSystemTimeAsFileTime(&written);
        written.dwHighDateTime += 1;
        ::SetFileTime(this->file_.input.get(), nullptr, nullptr, &written);
        return free;
    }
};

TEST_F(OverlappingRunsTest, AnInputThatChangedWhileItWasHeldIsKeptBesideItsNewCopy) {
    const auto changed = [this](auto& engine, const std::wstring& input) {
        const Bytes content = ReadFileBytes(input);
        EXPECT_EQ(engine.ProcessFile(input, true), FileOutcome::Failed(HResultFromWin32(ERROR_FILE_INVALID)));
        EXPECT_EQ(ReadFileBytes(input), content);
        EXPECT_EQ(Text(engine.Report()), Entry(IDS_CHANGED_MEANWHILE, input, S_OK));
    };
    const Bytes plain = PatternBytes(3000);
    const std::wstring input = File(L"a.txt", plain);
    DialogRun<ChangedMeanwhile<CFileEncryption>> encryption;
    changed(encryption, input);
    const auto reading = PortableDecrypt(ReadFileBytes(input + L".zte"));
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->plain, plain);

    ASSERT_TRUE(::DeleteFileW(input.c_str()));
    DialogRun<ChangedMeanwhile<CFileDecryption>> decryption;
    changed(decryption, input + L".zte");
    EXPECT_EQ(ReadFileBytes(input), plain);
}

}  // namespace
