#include "app/traversal/system_error_text.h"

#include "app/res_string.h"
#include "app/resources/resource_ids.h"
#include "app/traversal/integer_text.h"
#include "win/unique_handle.h"

namespace {

// Status codes that a dispatch interface raises, numbered from this base.
constexpr DWORD kDispatchErrorBase = 0x80040200;
constexpr DWORD kLastDispatchError = 0x8004FFFF;

std::wstring SystemDescription(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const LocalMemory owner(buffer);
    if (length == 0 || !buffer) return {};
    std::wstring text(buffer, length);
    if (text.ends_with(L"\r\n")) text.resize(text.size() - 2);
    return text;
}

}  // namespace

std::wstring SystemErrorText(HRESULT status) {
    const auto code = static_cast<DWORD>(status);
    std::wstring text = SystemDescription(code);
    if (!text.empty()) return text;
    if (code > kDispatchErrorBase && code <= kLastDispatchError)
        return FormatInteger(LoadResString(IDS_IDISPATCH_ERROR), code - kDispatchErrorBase);
    return FormatInteger(LoadResString(IDS_UNKNOWN_ERROR), code);
}
