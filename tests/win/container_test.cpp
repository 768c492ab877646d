#include <gtest/gtest.h>

#include "core/zte_header.h"
#include "engine/encrypted_file.h"
#include "engine/standard_header.h"
#include "test_support.h"
#include "win/unique_handle.h"

// The container classes over real file handles. The byte layout and the acceptance rules are
// the portable codec's, tested by its tables; these check the way through the system.
namespace {

class ContainerTest : public ::testing::Test {
protected:
    FileHandle Open(const std::wstring& name, DWORD access, DWORD disposition) {
        FileHandle file(::CreateFileW(folder_.Path(name).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, disposition, 0, nullptr));
        EXPECT_TRUE(file);
        return file;
    }

    TempFolder folder_;
};

TEST_F(ContainerTest, WrittenHeaderReadsBackWithNameAndChecksum) {
    const std::wstring name =
        L"Gr\x00FC\x00DF"
        L"e \x03A9 \xD83D\xDE00.txt";
    const CStandardHeader written(name, 2, 0x00000001, 0xFFFFFFFF);
    {
        const FileHandle file = Open(L"h.zte", GENERIC_WRITE, CREATE_ALWAYS);
        ASSERT_EQ(written.Write(file.get()), S_OK);
    }
    const FileHandle file = Open(L"h.zte", GENERIC_READ, OPEN_EXISTING);
    EXPECT_EQ(IsEncryptedFile(file.get()), S_OK);
    ::SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN);
    CStandardHeader read;
    ASSERT_EQ(read.Read(file.get()), S_OK);
    const auto accepted = read.Accept();
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->fileName, std::u16string(name.begin(), name.end()));
    EXPECT_EQ(accepted->checksum, 0xFFFFFFFF00000001ull);
    EXPECT_TRUE(accepted->useCompatibilityKey);
    EXPECT_EQ(accepted->headerSize, written.HeaderSize());
}

TEST_F(ContainerTest, SystemFailuresAreReturnedAsTheirCodes) {
    const FileHandle writeOnly = Open(L"w.zte", GENERIC_WRITE, CREATE_ALWAYS);
    EXPECT_EQ(IsEncryptedFile(writeOnly.get()), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    CStandardHeader read;
    EXPECT_EQ(read.Read(writeOnly.get()), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    const FileHandle readOnly = Open(L"w.zte", GENERIC_READ, OPEN_EXISTING);
    EXPECT_EQ(CStandardHeader(L"a", 1, 0, 0).Write(readOnly.get()), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
}

TEST(Block, CopiesOwnTheirData) {
    CBlock original(9, Bytes{1, 2, 3});
    CBlock copy = original;
    original = CBlock();
    EXPECT_EQ(original.Type(), 0);
    EXPECT_EQ(original.Data(), nullptr);
    ASSERT_EQ(copy.Length(), 3);
    EXPECT_EQ(Bytes(copy.Data(), copy.Data() + 3), (Bytes{1, 2, 3}));
    EXPECT_EQ(CEncryptionTypeBlock(2).Data()[0], 2);
    EXPECT_EQ(CFileNameBlock("").Length(), 0);
}

}  // namespace
