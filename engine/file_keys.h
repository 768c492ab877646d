#pragma once
#include <memory>
#include <optional>
#include <span>

#include "core/crypto/chunk_cipher.h"
#include "core/crypto/secure_bytes.h"
#include "engine/crypt_key.h"
#include "secret/crypt_context.h"

// The RC4 file keys derived from a user secret: the primary key under the best provider
// present, and the 40-bit compatibility key under the base provider, which files of
// encryption type other than 1 were written with. Where only the base provider exists the
// two are the same key. Each key's chunk cipher, which the payloads go through, is obtained
// from the provider once, with the key. The secret itself is kept too: a sealed file's key is
// derived from it for every file, by the sealed file's codec.
class CFileKeys {
public:
    explicit CFileKeys(std::span<const BYTE> secret);
    ~CFileKeys();
    CFileKeys(const CFileKeys&) = delete;
    CFileKeys& operator=(const CFileKeys&) = delete;

    CCryptKey& Primary() { return *primaryKey_; }
    CCryptKey& Compatibility() { return compatibilityKey_ ? *compatibilityKey_ : *primaryKey_; }
    const core::ChunkCipher& PrimaryCipher() const { return *primaryCipher_; }
    const core::ChunkCipher& CompatibilityCipher() const {
        return compatibilityCipher_ ? *compatibilityCipher_ : *primaryCipher_;
    }
    bool PrimaryIsEnhanced() const { return primaryContext_->IsEnhanced(); }
    std::span<const BYTE> Secret() const { return secret_.Bytes(); }

private:
    core::SecureBytes secret_;
    std::unique_ptr<CCryptContext> primaryContext_;
    std::unique_ptr<CCryptContext> compatibilityContext_;
    std::unique_ptr<CCryptKey> primaryKey_;
    std::unique_ptr<CCryptKey> compatibilityKey_;
    std::optional<core::ChunkCipher> primaryCipher_;
    std::optional<core::ChunkCipher> compatibilityCipher_;
};
