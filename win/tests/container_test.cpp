#include <gtest/gtest.h>

#include "core/container/zte_header.h"
#include "core/text/utf8.h"
#include "test_support.h"
#include "win/handle_stream.h"
#include "win/hresult.h"
#include "win/unique_handle.h"

// The container functions over real file handles. The byte layout and the acceptance rules
// are the portable codec's, tested by its tables; these check the way through the system.
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

template <class Step>
HRESULT CodeOf(Step&& step) {
    try {
        step();
    } catch (const HResultError& error) {
        return error.code();
    }
    return S_OK;
}

void Rewind(HANDLE file) {
    ASSERT_TRUE(::SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN));
}

TEST_F(ContainerTest, WrittenHeaderReadsBackWithNameAndChecksum) {
    const std::u16string name = u"Gr\u00FC\u00DFe \u03A9 \U0001F600.txt";
    const std::string utf8 = core::Utf16ToUtf8(name);
    const core::StandardHeader written = core::BuildStandardHeader(
        std::span(reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size()), 2);
    {
        const FileHandle file = Open(L"h.zte", GENERIC_WRITE, CREATE_ALWAYS);
        CHandleSink(file.get()).Write(written.bytes);
        LARGE_INTEGER checksum{};
        checksum.QuadPart = written.checksumOffset;
        ASSERT_TRUE(::SetFilePointerEx(file.get(), checksum, nullptr, FILE_BEGIN));
        WriteFully(file.get(), core::EncodeChecksum(0xFFFFFFFF00000001ull));
    }
    const FileHandle file = Open(L"h.zte", GENERIC_READ, OPEN_EXISTING);
    CHandleSource source(file.get());
    EXPECT_EQ(core::ReadMagic(source), core::ReadResult::Ok);
    Rewind(file.get());
    const auto accepted = core::JudgeHeader(core::ParseHeader(source)).header;
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->fileName, name);
    EXPECT_EQ(accepted->checksum, 0xFFFFFFFF00000001ull);
    EXPECT_TRUE(accepted->useCompatibilityKey);
    EXPECT_EQ(accepted->headerSize, written.bytes.size());
}

TEST_F(ContainerTest, SystemFailuresAreThrownAsTheirCodes) {
    const FileHandle writeOnly = Open(L"w.zte", GENERIC_WRITE, CREATE_ALWAYS);
    CHandleSource unreadable(writeOnly.get());
    EXPECT_EQ(CodeOf([&] { core::ReadMagic(unreadable); }), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    EXPECT_EQ(CodeOf([&] { core::ParseHeader(unreadable); }), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    const FileHandle readOnly = Open(L"w.zte", GENERIC_READ, OPEN_EXISTING);
    const core::StandardHeader header = core::BuildStandardHeader(Bytes{'a'}, core::kPrimaryKeyType);
    EXPECT_EQ(CodeOf([&] { CHandleSink(readOnly.get()).Write(header.bytes); }),
              HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
}

}  // namespace
