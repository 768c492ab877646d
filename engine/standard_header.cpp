#include "engine/standard_header.h"

#include "core/text/utf8.h"
#include "trace/trace_scope.h"

using trace::CTraceScope;
using trace::Trace;

CStandardHeader::CStandardHeader(const std::wstring& fileName, BYTE encryptionType, std::uint32_t checksumLow,
                                 std::uint32_t checksumHigh) {
    CTraceScope scope("CStandardHeader::CStandardHeader");
    Trace(scope, 0, "Input Filename: %ls", fileName.c_str());
    const std::string utf8 = core::Utf16ToUtf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(fileName.data()), fileName.size()));
    Insert(CCheckSumBlock(checksumLow, checksumHigh));
    Insert(CFileNameBlock(utf8.c_str()));
    Insert(CEncryptionTypeBlock(encryptionType));
    SetHeaderSize(core::HeaderSizeOf(Views()));
}
