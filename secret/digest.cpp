#include "secret/digest.h"

#include <wincrypt.h>

#include "secret/crypt_context.h"
#include "win/hresult.h"
#include "win/unique_handle.h"

DWORD DigestInto(ALG_ID algorithm, std::span<const BYTE> data, DigestBuffer& digest) {
    const CCryptContext context(true);
    CryptHashHandle hash;
    Check(::CryptCreateHash(context.Get(), algorithm, 0, 0, hash.put()));
    Check(::CryptHashData(hash.get(), data.data(), static_cast<DWORD>(data.size()), 0));
    DWORD size = static_cast<DWORD>(digest.size());
    Check(::CryptGetHashParam(hash.get(), HP_HASHVAL, digest.data(), &size, 0));
    return size;
}
