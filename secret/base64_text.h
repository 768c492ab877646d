#pragma once
#include <windows.h>

#include <wincrypt.h>

#include <string_view>
#include <vector>

// CryptStringToBinaryW's signature, shared by the system decoder and the fallback.
using StringToBinaryFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, BYTE*, DWORD*, DWORD*, DWORD*);

// The portable decoder behind CryptStringToBinaryW's calling convention, for
// CRYPT_STRING_BASE64 only: with no buffer or a small one it reports the needed size (the
// latter with ERROR_MORE_DATA); malformed text fails with ERROR_INVALID_DATA.
BOOL WINAPI FallbackStringToBinaryW(LPCWSTR text, DWORD length, DWORD flags, BYTE* out, DWORD* outSize,
                                    DWORD* skipped, DWORD* usedFlags);

// CryptStringToBinaryW from Crypt32.dll, loaded once per process; the fallback when the
// library or the function is missing.
StringToBinaryFn SystemStringToBinaryW();

// Decodes Base64 text with the given decoder, asking for the size first. Malformed text is
// raised as the decoder's error.
std::vector<BYTE> DecodeBase64Text(std::wstring_view text, StringToBinaryFn decode = SystemStringToBinaryW());
