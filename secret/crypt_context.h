#pragma once
#include <windows.h>

#include <wincrypt.h>
#include <array>
#include <span>

#include "win/unique_handle.h"

// A verification context (no key container) of the enhanced RSA provider when it is wanted
// and present, of the base provider otherwise.
class CCryptContext {
public:
    explicit CCryptContext(bool preferEnhanced);

    HCRYPTPROV Get() const { return provider_.get(); }
    bool IsEnhanced() const { return enhanced_; }

    // Once per process, serialised across the suite's processes: when a provider reports a
    // bad signature, every full-RSA provider registered on the machine is registered again.
    static void CheckProvider();

private:
    CryptProvider provider_;
    bool enhanced_ = false;
};

// Room for the largest digest CryptoAPI's providers produce (SHA-512).
using DigestBuffer = std::array<BYTE, 64>;

// The digest of data under a CryptoAPI hash algorithm (CALG_MD4, CALG_MD5, ...) from the
// enhanced provider when present; returns its size.
DWORD DigestInto(ALG_ID algorithm, std::span<const BYTE> data, DigestBuffer& digest);
