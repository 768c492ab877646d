#include "engine/file_keys.h"

#include <vector>

#include "core/crypto/secure_bytes.h"
#include "engine/payload_cipher.h"
#include "win/hresult.h"

namespace {

std::unique_ptr<CCryptKey> DeriveKey(const CCryptContext& context, std::span<const BYTE> secret) {
    // A copy, so the caller's buffer stays untouched; overwritten once it has been hashed.
    core::SecureBytes copy(secret);
    CryptHashHandle hash;
    Check(::CryptCreateHash(context.Get(), CALG_MD5, 0, 0, hash.put()));
    Check(::CryptHashData(hash.get(), copy.Bytes().data(), static_cast<DWORD>(copy.Bytes().size()), 0));
    CryptKeyHandle key;
    // No key length in the upper 16 bits: the provider's default, 128 or 40 bits.
    Check(::CryptDeriveKey(context.Get(), CALG_RC4, hash.get(), CRYPT_EXPORTABLE, key.put()));
    return std::make_unique<CCryptKey>(std::move(key));
}

}  // namespace

CFileKeys::CFileKeys(std::span<const BYTE> secret) : secret_(secret) {
    primaryContext_ = std::make_unique<CCryptContext>(true);
    primaryKey_ = DeriveKey(*primaryContext_, secret);
    primaryCipher_.emplace(ChunkCipherOf(*primaryKey_));
    if (primaryContext_->IsEnhanced()) {
        compatibilityContext_ = std::make_unique<CCryptContext>(false);
        compatibilityKey_ = DeriveKey(*compatibilityContext_, secret);
        compatibilityCipher_.emplace(ChunkCipherOf(*compatibilityKey_));
    }
}

// Keys go before the contexts they were made under.
CFileKeys::~CFileKeys() {
    compatibilityKey_.reset();
    primaryKey_.reset();
    compatibilityContext_.reset();
    primaryContext_.reset();
}
