// Throughput of the portable payload loops over a large buffer, in MB/s: RC4 restarted at
// every chunk, as the payload was enciphered before, and the chunk cipher's XOR and sum in
// each form this processor runs.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/container/payload.h"
#include "core/crypto/chunk_cipher.h"
#include "core/crypto/file_key.h"

namespace {

constexpr std::size_t kBufferSize = std::size_t{64} << 20;
constexpr int kRounds = 8;
constexpr double kTargetMegabytesPerSecond = 4000;

template <class Body>
double MegabytesPerSecond(Body body) {
    body();  // the pages are touched once before the clock runs
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i) body();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    return static_cast<double>(kBufferSize) * kRounds / 1e6 / seconds.count();
}

}  // namespace

int main() {
    std::vector<std::uint8_t> data(kBufferSize);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 31 + (i >> 12));
    const std::uint8_t secret[] = {'b', 'e', 'n', 'c', 'h'};
    const core::Rc4 key(core::DeriveFileKey(secret, core::Provider::Enhanced));
    std::uint64_t sum = 0;

    core::Rc4 restarted = key;
    const double rc4 = MegabytesPerSecond([&] { core::CipherChunks(restarted, data); });
    std::printf("portable payload loops, natively over %zu MiB:\n", kBufferSize >> 20);
    std::printf("  %-36s %8.1f MB/s\n", "RC4 restarted every chunk (before):", rc4);
    for (const core::XorLoop loop : {core::XorLoop::Plain, core::XorLoop::Sse2}) {
        if (!core::CanRun(loop)) continue;
        const core::ChunkCipher cipher = core::ChunkCipherOf(key, loop);
        const double speed = MegabytesPerSecond([&] { sum = cipher.Encipher(data, 0, sum); });
        const bool used = loop == core::FastestXorLoop();
        char label[64];
        std::snprintf(label, sizeof label,
                      "XOR and sum, %s loop%s:", loop == core::XorLoop::Plain ? "plain" : "SSE2",
                      used ? " (used)" : "");
        std::printf("  %-36s %8.1f MB/s", label, speed);
        if (used)
            std::printf("   target %.0f MB/s: %s", kTargetMegabytesPerSecond,
                        speed >= kTargetMegabytesPerSecond ? "met" : "not met");
        std::printf("\n");
    }
    // The sum is printed so that the loops cannot be optimised away.
    std::printf("  (checksum %016llx)\n", static_cast<unsigned long long>(sum));
    return 0;
}
