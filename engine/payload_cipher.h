#pragma once
#include "core/crypto/chunk_cipher.h"
#include "engine/crypt_key.h"

// The chunk cipher of a provider's key: every chunk is enciphered from the key's initial
// state, so the provider is asked once, for the first chunk's key stream (1024 zero bytes
// enciphered as a whole message), and the payload is XORed with it.
core::ChunkCipher ChunkCipherOf(CCryptKey& key);
