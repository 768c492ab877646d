#include "text/message_text.h"

#include "text/integer_text.h"
#include "text/res_string.h"
#include "text/text_ids.h"
#include "win/unique_handle.h"

std::optional<std::wstring> MessageText(HRESULT status, HMODULE module, DWORD language) {
    const DWORD source = module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM;
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        source | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, module,
        static_cast<DWORD>(status), language, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const LocalMemory owner(buffer);
    if (length == 0 || !buffer) return std::nullopt;
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) return std::nullopt;
    return text;
}

namespace {

// Status codes that a dispatch interface raises, numbered from this base.
constexpr DWORD kDispatchErrorBase = 0x80040200;
constexpr DWORD kLastDispatchError = 0x8004FFFF;

}  // namespace

std::wstring SystemErrorText(HRESULT status) {
    if (auto text = MessageText(status, nullptr, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT))) return *text;
    const auto code = static_cast<DWORD>(status);
    if (code > kDispatchErrorBase && code <= kLastDispatchError)
        return FormatInteger(LoadResString(IDS_IDISPATCH_ERROR), code - kDispatchErrorBase);
    return FormatInteger(LoadResString(IDS_UNKNOWN_ERROR), code);
}
