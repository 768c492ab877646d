#include "engine/payload_cipher.h"

#include <algorithm>
#include <future>
#include <thread>

#include "core/payload.h"

namespace {

// Below this a second thread costs more than it saves.
constexpr std::size_t kShareAbove = 64 * core::kChunkSize;

void TransformEachChunk(CCryptKey& key, std::span<BYTE> data, bool encipher) {
    for (std::size_t offset = 0; offset < data.size(); offset += core::kChunkSize) {
        const auto chunk = data.subspan(offset, std::min(core::kChunkSize, data.size() - offset));
        encipher ? key.Encrypt(chunk, 0, true) : key.Decrypt(chunk, 0, true);
    }
}

// Every chunk starts from the key's initial state, so the chunks are independent: a worker
// takes the second half with its own copy of the key while this thread does the first.
void TransformChunks(CCryptKey& key, std::span<BYTE> data, bool encipher) {
    if (data.size() <= kShareAbove || std::thread::hardware_concurrency() < 2) {
        TransformEachChunk(key, data, encipher);
        return;
    }
    const std::size_t half = (data.size() / core::kChunkSize / 2) * core::kChunkSize;
    CCryptKey twin = key.Duplicate();
    auto second = std::async(std::launch::async, [&twin, tail = data.subspan(half), encipher] {
        TransformEachChunk(twin, tail, encipher);
    });
    TransformEachChunk(key, data.first(half), encipher);
    second.get();
}

}  // namespace

void EncipherChunks(CCryptKey& key, std::span<BYTE> data) {
    TransformChunks(key, data, true);
}

void DecipherChunks(CCryptKey& key, std::span<BYTE> data) {
    TransformChunks(key, data, false);
}
