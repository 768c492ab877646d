#include "engine/crypt_key.h"

#include "trace/trace_scope.h"
#include "win/hresult.h"

DWORD CCryptKey::Encrypt(std::span<BYTE> data, HCRYPTHASH hash, bool final) {
    trace::CTraceScope scope("CCryptKey::Encrypt", 10);
    DWORD length = static_cast<DWORD>(data.size());
    Check(::CryptEncrypt(key_.get(), hash, final, 0, data.data(), &length, length));
    return length;
}

DWORD CCryptKey::Decrypt(std::span<BYTE> data, HCRYPTHASH hash, bool final) {
    trace::CTraceScope scope("CCryptKey::Decrypt", 10);
    DWORD length = static_cast<DWORD>(data.size());
    Check(::CryptDecrypt(key_.get(), hash, final, 0, data.data(), &length));
    return length;
}
