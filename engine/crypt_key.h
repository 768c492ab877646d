#pragma once
#include <span>

#include "win/unique_handle.h"

// A CryptoAPI session key. Chunks are passed with the final flag, so each call starts from
// the key's initial state.
class CCryptKey {
public:
    explicit CCryptKey(CryptKeyHandle key) : key_(std::move(key)) {}

    // Enciphers data in place; returns the enciphered length (the same, for RC4).
    DWORD Encrypt(std::span<BYTE> data, HCRYPTHASH hash, bool final);
    // Deciphers data in place; returns the deciphered length.
    DWORD Decrypt(std::span<BYTE> data, HCRYPTHASH hash, bool final);

    HCRYPTKEY Get() const { return key_.get(); }

private:
    CryptKeyHandle key_;
};
