#include "secret/obfuscation_key.h"

#include <wincrypt.h>

#include <algorithm>
#include <vector>

#include "secret/crypt_context.h"
#include "win/hresult.h"
#include "win/unique_handle.h"

namespace {

// Offsets of the data-protection key's identifier in CryptProtectData's output.
constexpr DWORD kKeyIdOffset = 24;
constexpr DWORD kKeyIdEnd = 40;

std::vector<BYTE> EncodedTime(const FILETIME& time) {
    DWORD size = 0;
    Check(::CryptEncodeObject(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, X509_CHOICE_OF_TIME, &time, nullptr,
                              &size));
    std::vector<BYTE> encoded(size);
    Check(::CryptEncodeObject(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, X509_CHOICE_OF_TIME, &time,
                              encoded.data(), &size));
    encoded.resize(size);
    return encoded;
}

void HashDataProtectionKeyId(HCRYPTHASH hash) {
    BYTE one = 0x01;
    DATA_BLOB plain{1, &one};
    DATA_BLOB protectedBlob{};
    Check(::CryptProtectData(&plain, L"", nullptr, nullptr, nullptr,
                             CRYPTPROTECT_UI_FORBIDDEN | CRYPTPROTECT_LOCAL_MACHINE, &protectedBlob));
    const LocalMemory owner(protectedBlob.pbData);
    if (protectedBlob.cbData < kKeyIdEnd) ThrowHr(E_FAIL);
    Check(::CryptHashData(hash, protectedBlob.pbData + kKeyIdOffset, kKeyIdEnd - kKeyIdOffset, 0));
}

}  // namespace

core::ObfuscationKey ObfuscationKeyFor(const FILETIME& creationTime) {
    const CCryptContext context(true);
    CryptHashHandle hash;
    Check(::CryptCreateHash(context.Get(), CALG_MD5, 0, 0, hash.put()));
    const std::vector<BYTE> time = EncodedTime(creationTime);
    Check(::CryptHashData(hash.get(), time.data(), static_cast<DWORD>(time.size()), 0));
    HashDataProtectionKeyId(hash.get());

    core::ObfuscationKey key{};
    DWORD size = 0;
    Check(::CryptGetHashParam(hash.get(), HP_HASHVAL, nullptr, &size, 0));
    if (size != key.size()) ThrowHr(E_FAIL);
    Check(::CryptGetHashParam(hash.get(), HP_HASHVAL, key.data(), &size, 0));
    return key;
}

core::ObfuscationKey ProcessObfuscationKey() {
    FILETIME creation{}, exit{}, kernel{}, user{};
    Check(::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user));
    return ObfuscationKeyFor(creation);
}
