#include <gtest/gtest.h>
#include <sodium.h>

#include <string_view>
#include <vector>

#include "app/resources/resource_ids.h"
#include "engine/file_decryption_and_open.h"
#include "engine/file_encryption.h"
#include "engine_test.h"
#include "registry_backup.h"
#include "win/long_path.h"
#include "win/this_module.h"
#include "win/wide_text.h"

namespace {

// Decrypt-and-open with the shell replaced by a list of what would have been opened.
class RecordingDecryptAndOpen : public CFileDecryptAndOpen {
public:
    using CFileDecryptAndOpen::CFileDecryptAndOpen;
    std::vector<std::wstring> opened;

protected:
    void OpenWithShell(const std::wstring& path) override { opened.push_back(path); }
};

// A sealed file no writer makes: a name that is authentic under the user's secret but not one a
// reader accepts, laid out from docs/formats.md alone, with a salt of zeros and no content.
Bytes SealedUnderAnyName(std::string_view name) {
    Bytes file{'Z', 'T', 'S', '2', 1, 0, 0};
    file.resize(file.size() + 16 + crypto_secretstream_xchacha20poly1305_HEADERBYTES);
    file.insert(file.end(), {static_cast<std::uint8_t>(name.size()), 0});
    Bytes keyInput{'Z', 'T', 'S', '2', ' ', 'f', 'i', 'l', 'e', ' ', 'k', 'e', 'y'};
    keyInput.resize(keyInput.size() + 16);
    Bytes key(crypto_secretstream_xchacha20poly1305_KEYBYTES);
    crypto_generichash(key.data(), key.size(), keyInput.data(), keyInput.size(), kSecret.data(),
                       kSecret.size());
    crypto_secretstream_xchacha20poly1305_state state;
    crypto_secretstream_xchacha20poly1305_init_push(&state, &file[7 + 16], key.data());
    const Bytes header = file;
    const auto push = [&](std::span<const std::uint8_t> plain, std::uint8_t tag, const Bytes& data) {
        file.resize(file.size() + plain.size() + crypto_secretstream_xchacha20poly1305_ABYTES);
        crypto_secretstream_xchacha20poly1305_push(
            &state, file.data() + file.size() - plain.size() - crypto_secretstream_xchacha20poly1305_ABYTES,
            nullptr, plain.data(), plain.size(), data.data(), data.size(), tag);
    };
    push({reinterpret_cast<const std::uint8_t*>(name.data()), name.size()},
         crypto_secretstream_xchacha20poly1305_TAG_MESSAGE, header);
    push({}, crypto_secretstream_xchacha20poly1305_TAG_FINAL, {});
    return file;
}

class FileDecryptionTest : public EngineTest {
protected:
    DialogRun<CFileDecryption> engine_{kSecret};
};

TEST_F(FileDecryptionTest, EngineEncryptedFileDecryptsToItsStoredNameEvenWhenRenamed) {
    const Bytes plain = PatternBytes((1u << 20) + 3000);
    const std::wstring input = File(L"a.txt", plain);
    {
        DialogRun<CFileEncryption> encryption{kSecret};
        ASSERT_EQ(encryption.ProcessFile(input, true), FileOutcome::Done());
    }
    const std::wstring renamed = folder_.Path(L"b.zte");
    ASSERT_TRUE(::MoveFileW((input + L".zte").c_str(), renamed.c_str()));

    EXPECT_EQ(engine_.ProcessFile(renamed, true), FileOutcome::Done());

    EXPECT_EQ(ReadFileBytes(input), plain);
    EXPECT_FALSE(FileExists(renamed));
    EXPECT_EQ(engine_.ProcessedCount(), 1);
    EXPECT_EQ(engine_.Report().Count(), 0u);
}

// Sizes around the sealed file's 64 KiB messages and the payload's 1 MiB pieces. The portable
// reader opens what the engine wrote, and the engine what the portable writer wrote, to the
// byte, under the name stored even when the file was renamed.
TEST_F(FileDecryptionTest, SealedFilesCrossBetweenTheEnginesAndThePortableCodec) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{65536}, std::size_t{(1u << 20) + 3000}}) {
        SCOPED_TRACE(testing::Message() << "size " << size);
        const Bytes plain = PatternBytes(size);
        const std::wstring input = File(L"a.txt", plain);
        DialogRun<CFileEncryption> encryption(kSecret, core::FileFormat::Sealed);
        ASSERT_EQ(encryption.ProcessFile(input, true), FileOutcome::Done());
        const Bytes sealed = ReadFileBytes(input + L".zte");
        const std::optional<PortableOpening> opening = PortableOpen(sealed);
        ASSERT_TRUE(opening);
        EXPECT_EQ(opening->name, u"a.txt");
        EXPECT_EQ(opening->plain, plain);
        const std::wstring renamed = folder_.Path(L"b.zte");
        ASSERT_TRUE(::MoveFileW((input + L".zte").c_str(), renamed.c_str()));
        const std::wstring portable = File(L"c.zte", PortableSeal("c.txt", plain));

        EXPECT_EQ(engine_.ProcessFile(renamed, true), FileOutcome::Done());
        EXPECT_EQ(engine_.ProcessFile(portable, true), FileOutcome::Done());

        EXPECT_EQ(ReadFileBytes(input), plain);
        EXPECT_EQ(ReadFileBytes(folder_.Path(L"c.txt")), plain);
        EXPECT_FALSE(FileExists(renamed));
        EXPECT_FALSE(FileExists(portable));
        EXPECT_EQ(encryption.Report().Count() + engine_.Report().Count(), 0u);
        ::DeleteFileW(input.c_str());
        ::DeleteFileW(folder_.Path(L"c.txt").c_str());
    }
}

// Files another installation wrote: either key, and a header with no payload.
TEST_F(FileDecryptionTest, PortablyEncryptedFilesDecryptWithTheKeyTheirTypeSelects) {
    const struct {
        std::uint8_t type;
        std::size_t size;
    } cases[] = {{1, 5000}, {2, 5000}, {1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int{c.type} << ", size " << c.size);
        const Bytes plain = PatternBytes(c.size);
        const std::wstring input = File(L"in.zte", PortableEncrypt(u"out.bin", plain, c.type));
        EXPECT_EQ(engine_.ProcessFile(input, false), FileOutcome::Done());
        EXPECT_EQ(ReadFileBytes(folder_.Path(L"out.bin")), plain);
        ::DeleteFileW(folder_.Path(L"out.bin").c_str());
    }
}

// Wiped, it is left hidden under its unfinished name, which is what the next run removes.
TEST_F(FileDecryptionTest, AnOutputThatCannotBeRemovedAfterAWrongKeyIsLeftWipedAndHidden) {
    DialogRun<RefusingUnfinishedRemoval<CFileDecryption>> engine{kSecret};
    const std::wstring input =
        File(L"a.txt.zte", PortableEncrypt(u"a.txt", PatternBytes(3000), 1, kOtherSecret));
    const std::wstring unfinished = UnfinishedPath(folder_.Path(L"a.txt"), 1);

    EXPECT_EQ(engine.ProcessFile(input, true), FileOutcome::Failed(NTE_BAD_KEY));

    EXPECT_EQ(ReadFileBytes(unfinished), Bytes(3000, 0));
    EXPECT_TRUE(::GetFileAttributesW(unfinished.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(FileExists(folder_.Path(L"a.txt")));
}

TEST_F(FileDecryptionTest, ExistingPlainFileGivesEntry28AndKeepsBoth) {
    const Bytes encrypted = PortableEncrypt(u"a.txt", PatternBytes(100), 1);
    const Bytes existing = PatternBytes(10, 42);
    const std::wstring input = File(L"a.txt.zte", encrypted);
    const std::wstring plain = File(L"a.txt", existing);

    EXPECT_EQ(engine_.ProcessFile(input, true), FileOutcome::Skipped());

    EXPECT_EQ(ReadFileBytes(input), encrypted);
    EXPECT_EQ(ReadFileBytes(plain), existing);
    EXPECT_EQ(EngineTest::Text(engine_.Report()), Entry(IDS_OUTPUT_EXISTS, plain, S_OK));
}

// Which stored names are refused (patterns and devices too) is the header's judge's and the
// sealed file's reader's, tested with them; here a refused one of each format and a file
// without the magic. A sealed file that opens whole with its name is the control.
TEST_F(FileDecryptionTest, FilesItCannotAcceptAreSkippedSilentlyWithoutOutput) {
    const std::wstring plain = File(L"plain.zte", PatternBytes(100));
    const std::wstring escaping = File(L"escape.zte", PortableEncrypt(u"..\\evil.txt", PatternBytes(100), 1));
    const std::wstring sealedEscaping = File(L"sealed-escape.zte", SealedUnderAnyName("..\\evil.txt"));
    const std::wstring sealed = File(L"sealed.zte", SealedUnderAnyName("good.txt"));
    ASSERT_EQ(engine_.ProcessFile(sealed, true), FileOutcome::Done());
    ASSERT_TRUE(FileExists(folder_.Path(L"good.txt")));

    for (const std::wstring& input : {plain, escaping, sealedEscaping}) {
        EXPECT_EQ(engine_.ProcessFile(input, true), FileOutcome::Skipped()) << input;
        EXPECT_TRUE(FileExists(input)) << input;
    }

    EXPECT_FALSE(FileExists(folder_.Path(L"..\\evil.txt")));
    EXPECT_EQ(engine_.ProcessedCount(), 1);
    EXPECT_EQ(engine_.Report().Count(), 0u);
}

TEST_F(FileDecryptionTest, OnlyANamedFileIsAddedToTheStore) {
    const std::wstring named = File(L"named.zte", PortableEncrypt(u"named.txt", PatternBytes(10), 1));
    const std::wstring found = File(L"found.zte", PortableEncrypt(u"found.txt", PatternBytes(10), 1));

    ASSERT_EQ(engine_.ProcessFile(named, true), FileOutcome::Done());
    ASSERT_EQ(engine_.ProcessFile(found, false), FileOutcome::Done());

    EXPECT_TRUE(StoreHolds(L"named.txt"));
    EXPECT_FALSE(StoreHolds(L"found.txt"));
}

TEST_F(FileDecryptionTest, DecryptAndOpenOpensThePlainFileOnlyAfterSuccess) {
    DialogRun<RecordingDecryptAndOpen> engine{kSecret};
    const std::wstring good = File(L"good.txt.zte", PortableEncrypt(u"good.txt", PatternBytes(10), 1));
    const std::wstring wrongKey =
        File(L"bad.zte", PortableEncrypt(u"bad.txt", PatternBytes(10), 1, kOtherSecret));
    const std::wstring notEncrypted = File(L"plain.zte", PatternBytes(10));
    const std::wstring sealed = File(L"sealed.txt.zte", PortableSeal("sealed.txt", PatternBytes(10)));
    const std::wstring sealedWrongKey =
        File(L"other.txt.zte", PortableSeal("other.txt", PatternBytes(10), kOtherSecret));

    EXPECT_EQ(engine.ProcessFile(good, true), FileOutcome::Done());
    EXPECT_EQ(engine.ProcessFile(wrongKey, true), FileOutcome::Failed(NTE_BAD_KEY));
    EXPECT_EQ(engine.ProcessFile(notEncrypted, true), FileOutcome::Skipped());
    EXPECT_EQ(engine.ProcessFile(sealed, true), FileOutcome::Done());
    EXPECT_EQ(engine.ProcessFile(sealedWrongKey, true), FileOutcome::Failed(NTE_BAD_DATA));

    EXPECT_EQ(engine.opened,
              (std::vector<std::wstring>{folder_.Path(L"good.txt"), folder_.Path(L"sealed.txt")}));
    EXPECT_EQ(engine.GetOperationKind(), kOperationDecryptAndOpen);
}

TEST_F(FileDecryptionTest, DecryptAndOpenHandsAFileWhoseHeaderCannotBeReadToTheShell) {
    DialogRun<RecordingDecryptAndOpen> engine{kSecret};
    // A file that opens but fails every read: the start of a process's memory, never mapped.
    const std::wstring input = L"Z:\\proc\\self\\mem";

    const FileOutcome outcome = engine.ProcessFile(input, true);

    EXPECT_TRUE(outcome.IsFailure());
    EXPECT_EQ(engine.opened, std::vector<std::wstring>{input});
    EXPECT_EQ(Text(engine.Report()), Entry(IDS_CANNOT_READ, input, outcome.Status()));
}

// A forged header can name any type; the shell is handed only the name the encrypted file's
// own name promised, compared as Windows compares names.
TEST_F(FileDecryptionTest, DecryptAndOpenOpensOnlyTheNameTheEncryptedFileCarries) {
    DialogRun<RecordingDecryptAndOpen> engine{kSecret};
    const std::wstring forged = File(L"Q3.pdf.zte", PortableEncrypt(u"Q3.js", PatternBytes(10), 1));
    const std::wstring renamed = File(L"Report.TXT.ZTE", PortableEncrypt(u"report.txt", PatternBytes(10), 1));

    EXPECT_EQ(engine.ProcessFile(forged, true), FileOutcome::Done());
    EXPECT_EQ(engine.ProcessFile(renamed, true), FileOutcome::Done());

    EXPECT_TRUE(FileExists(folder_.Path(L"Q3.js")));
    EXPECT_EQ(engine.opened, std::vector<std::wstring>{folder_.Path(L"report.txt")});
    EXPECT_EQ(Text(engine.Report()), Entry(IDS_NOT_OPENED, folder_.Path(L"Q3.js"), S_OK));
}

// A path too deep for the shell even in its short form (win/tests/long_path_test.cpp) is
// decrypted and reported, not opened.
TEST_F(FileDecryptionTest, DecryptAndOpenReportsAFileTooDeepForTheShell) {
    DialogRun<RecordingDecryptAndOpen> engine{kSecret};
    // Names of eight characters are their own short names.
    std::wstring path = folder_.Path();
    for (int level = 0; level < 30; ++level) {
        path += L"\\dddddddd";
        ASSERT_TRUE(::CreateDirectoryW(LongPathForm(path).c_str(), nullptr));
    }
    path += L"\\a.txt";
    WriteFileBytes(LongPathForm(path + L".zte"), PortableEncrypt(u"a.txt", PatternBytes(10), 1));

    EXPECT_EQ(engine.ProcessFile(path + L".zte", true), FileOutcome::Done());

    EXPECT_EQ(ReadFileBytes(LongPathForm(path)), PatternBytes(10));
    EXPECT_TRUE(engine.opened.empty());
    EXPECT_EQ(Text(engine.Report()),
              Entry(IDS_PATH_TOO_LONG_TO_OPEN, path, HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)));
}

// A file type of the test's own whose open command starts the given program, unquoted as
// registration writes the program's own.
class TestFileType {
public:
    explicit TestFileType(const std::wstring& program) {
        SetRegistryString(HKEY_CLASSES_ROOT, kExtension, nullptr, kType);
        SetRegistryString(HKEY_CLASSES_ROOT, std::wstring(kType) + L"\\shell\\open\\command", nullptr,
                          program + L" \"%1\"");
    }
    static constexpr wchar_t kExtension[] = L".ztenginetest";

private:
    static constexpr wchar_t kType[] = L"ZtEngineTest.File";
    RegistryBackup extension_{HKEY_CLASSES_ROOT, kExtension};
    RegistryBackup type_{HKEY_CLASSES_ROOT, kType};
};

TEST(OpensWith, TheProgramOfTheTypesOpenCommandQuotedOrNot) {
    const std::wstring program = ModuleFileName(nullptr);
    const std::wstring file = L"C:\\docs\\inner" + std::wstring(TestFileType::kExtension);
    {
        const TestFileType type(program);
        EXPECT_TRUE(OpensWith(file, program));
        EXPECT_FALSE(OpensWith(file, program.substr(0, program.size() - 4)));  // a prefix is not the program
        EXPECT_FALSE(OpensWith(L"C:\\docs\\inner.other-type", program));
    }
    {
        const TestFileType type(L"\"" + program + L"\"");
        EXPECT_TRUE(OpensWith(file, program));
    }
    const TestFileType other(L"C:\\Windows\\notepad.exe");
    EXPECT_FALSE(OpensWith(file, program));
}

// A plain file that this program would open is not handed to the shell: it would start
// this program again on it.
TEST_F(FileDecryptionTest, DecryptAndOpenNeverHandsTheShellAFileOfItsOwnType) {
    const TestFileType type(ModuleFileName(nullptr));
    DialogRun<RecordingDecryptAndOpen> engine{kSecret};
    const std::wstring inner = std::wstring(L"inner") + TestFileType::kExtension;
    const std::wstring input =
        File(inner + L".zte", PortableEncrypt(std::u16string(AsU16(inner)), PatternBytes(10), 1));

    EXPECT_EQ(engine.ProcessFile(input, true), FileOutcome::Done());

    EXPECT_TRUE(FileExists(folder_.Path(inner)));
    EXPECT_TRUE(engine.opened.empty());
}

}  // namespace
