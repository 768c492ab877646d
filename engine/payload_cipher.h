#pragma once
#include <span>

#include "engine/crypt_key.h"

// Enciphers or deciphers a buffer that starts on a chunk boundary, one call per 1024-byte
// chunk so that every chunk starts from the key's initial state. Large buffers keep the
// system calls few; the chunking keeps the format.
void EncipherChunks(CCryptKey& key, std::span<BYTE> data);
void DecipherChunks(CCryptKey& key, std::span<BYTE> data);
