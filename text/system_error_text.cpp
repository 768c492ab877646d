#include "text/system_error_text.h"

#include "text/integer_text.h"
#include "text/message_text.h"
#include "text/res_string.h"
#include "text/text_ids.h"

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
