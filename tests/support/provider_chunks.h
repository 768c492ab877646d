#pragma once
#include <algorithm>
#include <span>

#include "core/container/payload.h"
#include "engine/crypt_key.h"

// The payload through the provider itself, as the format defines it: one call per 1024-byte
// chunk with the final flag, so that every chunk starts from the key's initial state. What
// the engines' chunk cipher is checked against; data starts on a chunk boundary.
template <class Call>
void ForEachChunk(std::span<BYTE> data, Call call) {
    for (std::size_t offset = 0; offset < data.size(); offset += core::kChunkSize)
        call(data.subspan(offset, std::min(core::kChunkSize, data.size() - offset)));
}

inline void EncipherChunks(CCryptKey& key, std::span<BYTE> data) {
    ForEachChunk(data, [&](std::span<BYTE> chunk) { key.Encrypt(chunk, 0, true); });
}

inline void DecipherChunks(CCryptKey& key, std::span<BYTE> data) {
    ForEachChunk(data, [&](std::span<BYTE> chunk) { key.Decrypt(chunk, 0, true); });
}
