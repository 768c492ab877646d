#include "win/flush_together.h"

#include <algorithm>

#include "win/thread.h"

namespace {

// A handful is enough for a file system to see the flushes together.
constexpr std::size_t kFlushThreads = 8;

struct Flushes {
    std::span<const HANDLE> files;
    std::vector<DWORD>& errors;
    volatile LONG next = -1;
};

void FlushEach(Flushes& flushes) {
    for (;;) {
        const LONG index = ::InterlockedIncrement(&flushes.next);
        if (index >= static_cast<LONG>(flushes.files.size())) return;
        flushes.errors[index] = ::FlushFileBuffers(flushes.files[index]) ? 0 : ::GetLastError();
    }
}

unsigned __stdcall Flusher(void* flushes) {
    FlushEach(*static_cast<Flushes*>(flushes));
    return 0;
}

}  // namespace

// The calling thread flushes too: where no thread can be made, it flushes them all.
std::vector<DWORD> FlushTogether(std::span<const HANDLE> files) {
    std::vector<DWORD> errors(files.size());
    Flushes flushes{files, errors};
    const std::size_t helpers = files.empty() ? 0 : std::min(kFlushThreads, files.size()) - 1;
    std::vector<CThread> threads(helpers);
    for (CThread& thread : threads) thread.Start(Flusher, &flushes);
    FlushEach(flushes);
    for (const CThread& thread : threads)
        if (thread) thread.Join();
    return errors;
}
