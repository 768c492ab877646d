#include "secret/base64_text.h"

#include <wincrypt.h>

#include <algorithm>

#include "core/text/base64.h"
#include "win/hresult.h"
#include "win/system_library.h"
#include "win/wide_text.h"

BOOL WINAPI FallbackStringToBinaryW(LPCWSTR text, DWORD length, DWORD flags, BYTE* out, DWORD* outSize,
                                    DWORD* skipped, DWORD* usedFlags) {
    if (!text || !outSize || flags != CRYPT_STRING_BASE64) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::wstring_view view = length == 0 ? std::wstring_view(text) : std::wstring_view(text, length);
    const auto bytes = core::DecodeBase64(AsU16(view));
    if (!bytes) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (skipped) *skipped = 0;
    if (usedFlags) *usedFlags = CRYPT_STRING_BASE64;
    const DWORD needed = static_cast<DWORD>(bytes->size());
    const bool fits = !out || *outSize >= needed;
    if (out && fits) std::copy(bytes->begin(), bytes->end(), out);
    *outSize = needed;
    if (!fits) ::SetLastError(ERROR_MORE_DATA);
    return fits;
}

StringToBinaryFn SystemStringToBinaryW() {
    static const Library crypt32 = LoadSystemLibrary(L"Crypt32.dll");
    static const StringToBinaryFn decode = [] {
        FARPROC found = crypt32 ? ::GetProcAddress(crypt32.get(), "CryptStringToBinaryW") : nullptr;
        return found ? reinterpret_cast<StringToBinaryFn>(reinterpret_cast<void*>(found))
                     : &FallbackStringToBinaryW;
    }();
    return decode;
}

std::vector<BYTE> DecodeBase64Text(std::wstring_view text, StringToBinaryFn decode) {
    // An empty text is nothing to decode; a zero length would mean "up to the terminator".
    if (text.empty()) return {};
    const DWORD length = static_cast<DWORD>(text.size());
    DWORD size = 0;
    Check(decode(text.data(), length, CRYPT_STRING_BASE64, nullptr, &size, nullptr, nullptr));
    std::vector<BYTE> bytes(size);
    Check(decode(text.data(), length, CRYPT_STRING_BASE64, bytes.data(), &size, nullptr, nullptr));
    bytes.resize(size);
    return bytes;
}
