#include "setup/cleanup_list.h"

#include <optional>
#include <string>

#include "core/registration/cleanup_line.h"
#include "setup/installation_folder.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

namespace {

constexpr BYTE kByteOrderMark[] = {0xFF, 0xFE};

void WriteAll(HANDLE file, const void* data, DWORD bytes) {
    DWORD written = 0;
    Check(::WriteFile(file, data, bytes, &written, nullptr));
    if (written != bytes) ThrowWin32(ERROR_WRITE_FAULT);
}

void MoveTo(HANDLE file, DWORD method) {
    Check(::SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, method));
}

// The uninstaller reads the list as UTF-16LE text only after its byte-order mark; a file
// without it would hide every line, so it is started afresh.
void StartWithByteOrderMark(HANDLE file) {
    BYTE head[2] = {};
    DWORD read = 0;
    if (::ReadFile(file, head, sizeof head, &read, nullptr) && read == sizeof head &&
        head[0] == kByteOrderMark[0] && head[1] == kByteOrderMark[1]) {
        return;
    }
    MoveTo(file, FILE_BEGIN);
    Check(::SetEndOfFile(file));
    WriteAll(file, kByteOrderMark, sizeof kByteOrderMark);
}

std::wstring CleanupListPath() {
    const std::wstring folder = ReadInstallationFolder();
    // Without a recorded folder the list would land in whatever the current folder is.
    if (folder.empty()) ThrowWin32(ERROR_PATH_NOT_FOUND);
    return WithTrailingSeparator(folder) + L"Cleanup.txt";
}

}  // namespace

HRESULT AddCleanupLine(const wchar_t* hive, const wchar_t* keyPath, int number, const wchar_t* valueName) {
    trace::CTraceScope scope("AddCleanupLine");
    return Guarded(scope, [&] {
        if (!hive || !*hive || !keyPath || !*keyPath) ThrowHr(E_INVALIDARG);
        const std::wstring path = CleanupListPath();
        FileHandle file(::CreateFileW(LongPathForm(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) ThrowLastError();
        StartWithByteOrderMark(file.get());
        trace::Trace(scope, 0, "FilePath = %ls", path.c_str());
        MoveTo(file.get(), FILE_END);
        const std::optional<std::u16string_view> name =
            valueName ? std::optional(AsU16(valueName)) : std::nullopt;
        const std::wstring line = ToWide(core::CleanupLine(AsU16(hive), AsU16(keyPath), number, name));
        trace::Trace(scope, 0, "accum = %ls", line.c_str());
        WriteAll(file.get(), line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)));
    });
}
