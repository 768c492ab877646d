#include <gtest/gtest.h>

#include "core/zte_header.h"
#include "engine/encrypted_file.h"
#include "engine/standard_header.h"
#include "test_support.h"
#include "win/unique_handle.h"

namespace {

class ContainerTest : public ::testing::Test {
protected:
    FileHandle Open(const std::wstring& name, DWORD access = GENERIC_READ | GENERIC_WRITE,
                    DWORD disposition = OPEN_ALWAYS) {
        FileHandle file(::CreateFileW(folder_.Path(name).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, disposition, 0, nullptr));
        EXPECT_TRUE(file);
        return file;
    }

    Bytes Written(const CStandardHeader& header, std::uint64_t checksum) {
        {
            FileHandle file = Open(L"h.zte", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
            EXPECT_EQ(header.Write(file.get()), S_OK);
            EXPECT_EQ(header.PatchCheckSum(file.get(), checksum), S_OK);
        }
        return ReadFileBytes(folder_.Path(L"h.zte"));
    }

    HRESULT ReadBack(const Bytes& bytes, CStandardHeader& header) {
        WriteFileBytes(folder_.Path(L"r.zte"), bytes);
        FileHandle file = Open(L"r.zte", GENERIC_READ, OPEN_EXISTING);
        return header.Read(file.get());
    }

    TempFolder folder_;
};

std::uint16_t U16At(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

TEST_F(ContainerTest, StandardHeaderLayoutForATenCharacterName) {
    const CStandardHeader header(L"report.txt", 1, 0, 0);
    const Bytes bytes = Written(header, 0x0102030405060708ull);
    ASSERT_EQ(bytes.size(), 39u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{'Z', 'T', 'F', 'E'}));
    EXPECT_EQ(U16At(bytes, 4), 39);
    EXPECT_EQ(U16At(bytes, 6), 1);
    EXPECT_EQ(U16At(bytes, 8), 8);
    EXPECT_EQ(Bytes(bytes.begin() + 10, bytes.begin() + 18), (Bytes{8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(std::string(bytes.begin() + 22, bytes.begin() + 32), "report.txt");
    EXPECT_EQ(U16At(bytes, 32), 3);
    EXPECT_EQ(bytes[36], 1);
    EXPECT_EQ(U16At(bytes, 37), 0);
    EXPECT_EQ(header.GetBlockOffset(1), 6);
    EXPECT_EQ(header.GetBlockOffset(2), 18);
    EXPECT_EQ(header.GetBlockOffset(3), 32);
    EXPECT_EQ(header.GetBlockOffset(7), 0);
}

TEST_F(ContainerTest, WrittenHeaderReadsBackWithNameAndChecksum) {
    const std::wstring name =
        L"Gr\x00FC\x00DF"
        L"e \x03A9 \xD83D\xDE00.txt";
    const Bytes bytes = Written(CStandardHeader(name, 1, 0, 0), 0xFFFFFFFF00000001ull);
    CStandardHeader read;
    ASSERT_EQ(ReadBack(bytes, read), S_OK);
    std::wstring stored;
    ASSERT_TRUE(read.GetFileName(stored));
    EXPECT_EQ(stored, name);
    EXPECT_EQ(read.HeaderSize(), bytes.size());
    const CBlock* checksum = read.FindBlock(1);
    ASSERT_NE(checksum, nullptr);
    ASSERT_EQ(checksum->Length(), 8);
    EXPECT_EQ(core::DecodeChecksum(std::span<const std::uint8_t, 8>(checksum->Data(), 8)),
              0xFFFFFFFF00000001ull);
}

Bytes Header(std::uint16_t size, const Bytes& blocks) {
    Bytes bytes(6 + blocks.size());
    const Bytes start{
        'Z', 'T', 'F', 'E', static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8)};
    std::copy(start.begin(), start.end(), bytes.begin());
    std::copy(blocks.begin(), blocks.end(), bytes.begin() + 6);
    return bytes;
}

TEST_F(ContainerTest, FirstBlockOfATypeWinsAndUnknownTypesAreKept) {
    const Bytes blocks{2, 0, 1, 0, 'a', 2, 0, 1, 0, 'b', 7, 0, 0, 0, 0, 0};
    CStandardHeader read;
    ASSERT_EQ(ReadBack(Header(6 + 16, blocks), read), S_OK);
    std::wstring name;
    ASSERT_TRUE(read.GetFileName(name));
    EXPECT_EQ(name, L"a");
    ASSERT_NE(read.FindBlock(7), nullptr);
    EXPECT_EQ(read.FindBlock(7)->Length(), 0);
    EXPECT_EQ(read.FindBlock(3), nullptr);
}

TEST_F(ContainerTest, BlocksPastTheHeaderSizeAreNotAccepted) {
    const Bytes blocks{2, 0, 1, 0, 'a', 0, 0};  // terminator ends at offset 13
    CStandardHeader read;
    EXPECT_EQ(ReadBack(Header(12, blocks), read), S_FALSE);
    EXPECT_EQ(ReadBack(Header(13, blocks), read), S_OK);
    EXPECT_EQ(ReadBack(Header(40, blocks), read), S_OK);
    EXPECT_EQ(read.HeaderSize(), 40);
}

TEST_F(ContainerTest, AHeaderCutAtABlockBoundaryEndsThere) {
    CStandardHeader read;
    ASSERT_EQ(ReadBack(Header(100, {2, 0, 1, 0, 'a'}), read), S_OK);
    EXPECT_NE(read.FindBlock(2), nullptr);
}

TEST_F(ContainerTest, FilesWithoutTheMagicAreNotEncrypted) {
    CStandardHeader read;
    EXPECT_EQ(ReadBack({'Z', 'T', 'F'}, read), S_FALSE);
    EXPECT_EQ(ReadBack({}, read), S_FALSE);
    EXPECT_EQ(ReadBack({'Z', 'T', 'F', 'X', 0, 0}, read), S_FALSE);
    EXPECT_EQ(IsEncryptedFileName(folder_.Path(L"r.zte").c_str()), S_FALSE);
    WriteFileBytes(folder_.Path(L"e.zte"), {'Z', 'T', 'F', 'E'});
    EXPECT_EQ(IsEncryptedFileName(folder_.Path(L"e.zte").c_str()), S_OK);
}

TEST_F(ContainerTest, SystemFailuresAreReturnedAsTheirCodes) {
    EXPECT_EQ(IsEncryptedFileName(folder_.Path(L"missing.zte").c_str()),
              HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    FileHandle writeOnly = Open(L"w.zte", GENERIC_WRITE, CREATE_ALWAYS);
    EXPECT_EQ(IsEncryptedFile(writeOnly.get()), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    CStandardHeader read;
    EXPECT_EQ(read.Read(writeOnly.get()), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    FileHandle readOnly = Open(L"w.zte", GENERIC_READ, OPEN_EXISTING);
    EXPECT_EQ(CStandardHeader(L"a", 1, 0, 0).Write(readOnly.get()), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
}

TEST_F(ContainerTest, StoredNamesThatLeaveTheFolderAreRejected) {
    for (const char* unsafe : {"..\\..\\x", "a/b", "C:x", "..", ".",
                               "a\x01"
                               "b"}) {
        const std::string name = unsafe;
        Bytes blocks(4 + name.size() + 2);
        blocks[0] = 2;
        blocks[2] = static_cast<std::uint8_t>(name.size());
        std::copy(name.begin(), name.end(), blocks.begin() + 4);
        CStandardHeader read;
        ASSERT_EQ(ReadBack(Header(static_cast<std::uint16_t>(6 + blocks.size()), blocks), read), S_OK);
        std::wstring stored;
        EXPECT_FALSE(read.GetFileName(stored)) << unsafe;
    }
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
