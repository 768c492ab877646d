#include "engine/payload_cipher.h"

#include <algorithm>

#include "core/payload.h"

namespace {

template <class Transform>
void ForEachChunk(std::span<BYTE> data, Transform transform) {
    for (std::size_t offset = 0; offset < data.size(); offset += core::kChunkSize)
        transform(data.subspan(offset, std::min(core::kChunkSize, data.size() - offset)));
}

}  // namespace

void EncipherChunks(CCryptKey& key, std::span<BYTE> data) {
    ForEachChunk(data, [&](std::span<BYTE> chunk) { key.Encrypt(chunk, 0, true); });
}

void DecipherChunks(CCryptKey& key, std::span<BYTE> data) {
    ForEachChunk(data, [&](std::span<BYTE> chunk) { key.Decrypt(chunk, 0, true); });
}
