#include "store/ansi_text.h"

#include <windows.h>

#include <limits>

#include "win/hresult.h"

namespace {

int CheckedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) ThrowHr(E_OUTOFMEMORY);
    return static_cast<int>(size);
}

bool RoundTrips(wchar_t c) {
    char bytes[4] = {};
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(CP_THREAD_ACP, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, sizeof bytes,
                                             nullptr, &usedDefault);
    wchar_t back[2] = {};
    return length > 0 && !usedDefault &&
           ::MultiByteToWideChar(CP_THREAD_ACP, 0, bytes, length, back, 2) == 1 && back[0] == c;
}

}  // namespace

std::wstring AnsiToWide(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return {};
    const char* text = reinterpret_cast<const char*>(bytes.data());
    const int length = CheckedLength(bytes.size());
    const int units = ::MultiByteToWideChar(CP_THREAD_ACP, 0, text, length, nullptr, 0);
    if (units <= 0) ThrowLastError();
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (::MultiByteToWideChar(CP_THREAD_ACP, 0, text, length, wide.data(), units) != units) ThrowLastError();
    return wide;
}

std::string WideToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = CheckedLength(text.size());
    const int bytes =
        ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) ThrowLastError();
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    if (::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, narrow.data(), bytes, nullptr,
                              nullptr) != bytes) {
        ThrowLastError();
    }
    return narrow;
}

core::Latin1Coverage ThreadLatin1Coverage() {
    core::Latin1Coverage kept;
    for (wchar_t c = 0x80; c <= 0xFF; ++c) kept.set(c - 0x80, RoundTrips(c));
    return kept;
}
