// A user's folder tree deeper than MAX_PATH goes through the programs like any other. Wine's
// file functions take long plain paths, which Windows refuses, so the form the programs hand
// the system is checked on its own (win/tests/long_path_test.cpp); here, that every step of
// a run, from the command line to the store, carries such a path whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/resources/resource_ids.h"
#include "dialog_answers.h"
#include "end_to_end_test.h"
#include "process_run.h"
#include "store/decrypted_items.h"
#include "win/long_path.h"

namespace {

class LongPathTest : public EndToEndTest {
protected:
    // Three folders of 100-character names, a file in each: the deepest paths run past 330
    // units.
    void SetUp() override {
        std::wstring folder = root_;
        ASSERT_TRUE(::CreateDirectoryW(LongPathForm(folder).c_str(), nullptr));
        for (std::uint8_t level = 1; level <= 3; ++level) {
            folder += L"\\" + std::wstring(100, static_cast<wchar_t>(L'a' + level));
            ASSERT_TRUE(::CreateDirectoryW(LongPathForm(folder).c_str(), nullptr));
            const std::wstring file = folder + L"\\file" + std::to_wstring(level) + L".txt";
            tree_[file] = PatternBytes(1500 * level, level);
            WriteFileBytes(LongPathForm(file), tree_[file]);
            deepest_ = file;
        }
        ASSERT_GT(deepest_.size(), 300u);
    }

    void ExpectEncrypted() const {
        for (const auto& [path, content] : tree_) {
            EXPECT_FALSE(FileExists(LongPathForm(path))) << path.size();
            EXPECT_TRUE(FileExists(LongPathForm(path + L".zte"))) << path.size();
        }
    }

    void ExpectDecrypted() const {
        for (const auto& [path, content] : tree_) {
            EXPECT_EQ(ReadFileBytes(LongPathForm(path)), content) << path.size();
            EXPECT_FALSE(FileExists(LongPathForm(path + L".zte"))) << path.size();
        }
    }

    // ztrec.exe on the whole tree, the password read from a file.
    void Ztrec(const std::wstring& command) {
        const std::wstring password = folder_.Path(L"password.txt");
        WriteFileBytes(password, Bytes{'p', 'w', '\n'});
        std::string output;
        const std::wstring arguments =
            command + L" --password-file " + Quoted(password) + L" " + Quoted(root_);
        EXPECT_EQ(CapturedRun(L"ztrec.exe", arguments).Finish(output), 0u) << output;
    }

    std::wstring root_ = folder_.Path(L"deep");
    std::map<std::wstring, Bytes> tree_;
    std::wstring deepest_;
};

// The deepest file, named on the command line, is decrypted and recorded in the store whole.
TEST_F(LongPathTest, ZTFileEnEncryptsTheTreeAndDecryptsItByItsDeepestFileAndByFolder) {
    Encrypt(root_);
    ExpectEncrypted();

    // The file first: the folder's walk would decrypt it, and the run then report it missing.
    const ProcessRun run = RunProgram(L"/d " + Quoted(deepest_ + L".zte") + L" " + Quoted(root_));
    ConfirmIdentity(IDS_VERIFY_DECRYPT);
    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    ExpectDecrypted();
    CDecryptedItems store;
    ASSERT_EQ(store.LoadItems(nullptr), S_OK);
    const CDecryptedItem* item = store.Find(CDecryptedItem::KeyOf(L"file3.txt"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->FullPath(), deepest_);
}

TEST_F(LongPathTest, ZtrecEncryptsAndDecryptsTheTree) {
    Ztrec(L"encrypt --wipe");
    ExpectEncrypted();
    Ztrec(L"decrypt");
    ExpectDecrypted();
}

// The sealed format on Windows: written through the safe write, read back through it.
TEST_F(LongPathTest, ZtrecSealsTheTreeAndOpensIt) {
    Ztrec(L"encrypt --format 2 --wipe");
    ExpectEncrypted();
    for (const auto& [path, content] : tree_) {
        const Bytes sealed = ReadFileBytes(LongPathForm(path + L".zte"));
        EXPECT_EQ(Bytes(sealed.begin(), sealed.begin() + std::min<std::size_t>(sealed.size(), 4)),
                  (Bytes{'Z', 'T', 'S', '2'}))
            << path.size();
    }
    Ztrec(L"decrypt");
    ExpectDecrypted();
}

}  // namespace
