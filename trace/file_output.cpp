#include "trace/file_output.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>

#include "core/trace/trace_record.h"
#include "trace/trace_file_header.h"
#include "trace/trace_state.h"
#include "win/long_path.h"

namespace trace {
namespace {

constexpr std::size_t kMaxRecord = core::kTraceRecordPrefix + kMaxRecordText;

// Marks where a later run starts appending, with its local date.
void WriteNewRunRecord(COutput& output) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char date[16];
    std::snprintf(date, sizeof date, "%02u-%02u-%04u", now.wMonth, now.wDay, now.wYear);
    std::array<std::uint8_t, kMaxRecord> record;
    const std::size_t size = core::EncodeTraceRecord(record, ::GetCurrentThreadId(), 'N', date);
    output.Write(record.data(), size);
}

}  // namespace

CFileOutput::CFileOutput(const std::wstring& path, bool newFileAlways)
    : file_(::CreateFileW(LongPathForm(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, newFileAlways ? CREATE_ALWAYS : OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    LARGE_INTEGER size{};
    if (!file_ || !::GetFileSizeEx(file_.get(), &size)) return;
    if (size.QuadPart > 0) {
        WriteNewRunRecord(*this);
    } else {
        const std::string header = TraceFileHeader();
        Append(header.data(), header.size());
    }
}

void CFileOutput::Write(const std::uint8_t* record, std::size_t size) {
    std::array<std::uint8_t, kMaxRecord> copy;
    const auto prefix = core::DecodeTraceRecordPrefix({record, size});
    // Only whole records of the library's own size go out: anything else would make the
    // rest of the file unreadable.
    if (!file_ || !prefix || size != core::kTraceRecordPrefix + prefix->length || size > copy.size()) return;
    std::copy_n(record, size, copy.begin());
    core::CipherTraceRecordText(std::span(copy).subspan(core::kTraceRecordPrefix, prefix->length));
    Append(copy.data(), size);
}

void CFileOutput::Append(const void* bytes, std::size_t size) {
    DWORD written = 0;
    if (::SetFilePointerEx(file_.get(), LARGE_INTEGER{}, nullptr, FILE_END))
        ::WriteFile(file_.get(), bytes, static_cast<DWORD>(size), &written, nullptr);
}

}  // namespace trace
