#include "text/message_text.h"

#include "text/integer_text.h"
#include "text/res_string.h"
#include "text/text_ids.h"
#include "win/unique_handle.h"

std::optional<std::wstring> MessageText(HRESULT status, DWORD language) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
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

constexpr struct {
    HRESULT status;
    UINT text;
} kOwnTexts[] = {
    {NTE_BAD_KEY, IDS_ERROR_BAD_KEY},
    {NTE_BAD_DATA, IDS_ERROR_BAD_DATA},
    {NTE_BAD_LEN, IDS_ERROR_BAD_LENGTH},
    {NTE_BAD_SIGNATURE, IDS_ERROR_BAD_SIGNATURE},
};

// Status codes that a dispatch interface raises, numbered from this base.
constexpr DWORD kDispatchErrorBase = 0x80040200;
constexpr DWORD kLastDispatchError = 0x8004FFFF;

}  // namespace

std::optional<std::wstring> ErrorText(HRESULT status, DWORD language) {
    for (const auto& own : kOwnTexts)
        if (own.status == status) return LoadResString(own.text);
    return MessageText(status, language);
}

std::wstring SystemErrorText(HRESULT status) {
    if (auto text = ErrorText(status, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT))) return *text;
    const auto code = static_cast<DWORD>(status);
    if (code > kDispatchErrorBase && code <= kLastDispatchError)
        return FormatInteger(LoadResString(IDS_IDISPATCH_ERROR), code - kDispatchErrorBase);
    return FormatInteger(LoadResString(IDS_UNKNOWN_ERROR), code);
}
