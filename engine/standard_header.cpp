#include "engine/standard_header.h"

#include "core/stored_name.h"
#include "core/utf8.h"
#include "trace/trace_scope.h"

using ZTTraceNS::CTraceScope;
using ZTTraceNS::Trace;

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

bool CStandardHeader::GetFileName(std::wstring& name) const {
    CTraceScope scope("CStandardHeader::GetFileName");
    const CBlock* block = FindBlock(core::kFileNameBlock);
    if (!block || block->Length() == 0) return false;
    const std::u16string decoded = core::StoredNameFromUtf8(block->Bytes());
    if (!core::IsSafeStoredName(decoded)) {
        Trace(scope, 0, "Rejected stored name of %d bytes", block->Length());
        return false;
    }
    name.assign(decoded.begin(), decoded.end());
    Trace(scope, 0, "FileName = %ls, buffer size = %d", name.c_str(), block->Length());
    return true;
}
