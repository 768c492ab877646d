#include "engine/payload_cipher.h"

#include "core/crypto/secure_bytes.h"
#include "win/hresult.h"

core::ChunkCipher ChunkCipherOf(CCryptKey& key) {
    core::SecureBytes keystream(core::kChunkSize);
    // A cipher that changed the length would not be the stream cipher the files are written with.
    if (key.Encrypt(keystream.Bytes(), 0, true) != core::kChunkSize) ThrowHr(NTE_BAD_LEN);
    return core::ChunkCipher(keystream.Bytes().first<core::kChunkSize>());
}
