#pragma once
#include <windows.h>

#include <wincrypt.h>

#include <array>
#include <span>

// Room for the largest digest CryptoAPI's providers produce (SHA-512).
using DigestBuffer = std::array<BYTE, 64>;

// The digest of data under a CryptoAPI hash algorithm (CALG_MD4, CALG_MD5, ...) from the
// enhanced provider when present; returns its size.
DWORD DigestInto(ALG_ID algorithm, std::span<const BYTE> data, DigestBuffer& digest);
