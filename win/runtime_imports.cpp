// The MinGW-w64 runtime linked into every program and library (its POSIX threads, which the
// C++ library's threads, locks and exceptions use) imports GetTickCount64, which Windows
// before Vista lacks: the loader of Windows XP refuses to start a program that imports a
// function the system does not have. The runtime reaches the function through its import
// slot, so this file fills that slot itself with a stand-in that looks the system's function
// up at run time and counts on from GetTickCount where it is missing. The linker then takes no
// slot from the import library, and GetTickCount64 is not among the program's imports.
//
// This code may run before any constructor and inside the runtime's own waits, so it keeps no
// object with a constructor, no guarded static and takes no lock.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "win/system_library.h"

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

// The 32-bit tick count, extended past its wrap after 49.7 days: every caller moves the last
// value seen forward by the ticks since, so the count never goes back.
std::atomic<std::uint64_t> lastTickCount{0};

ULONGLONG ExtendedTickCount() {
    std::uint64_t last = lastTickCount.load();
    for (;;) {
        const DWORD elapsed = ::GetTickCount() - static_cast<DWORD>(last);
        const std::uint64_t now = last + elapsed;
        if (lastTickCount.compare_exchange_weak(last, now)) return now;
    }
}

// Looked up on every call: a cached answer would need a guarded static, whose guard waits
// through the very thread support that calls this.
ULONGLONG WINAPI TickCount64() {
    const auto system = Kernel32Function<TickCount64Function>("GetTickCount64");
    return system ? system() : ExtendedTickCount();
}

}  // namespace

// The import slot, under the name the import library gives it.
#if defined(__i386__)
#define ZT_IMPORT_SLOT(name, stackBytes) __asm__("__imp__" #name "@" #stackBytes)
#else
#define ZT_IMPORT_SLOT(name, stackBytes) __asm__("__imp_" #name)
#endif

extern "C" {
extern const TickCount64Function ztTickCount64Slot ZT_IMPORT_SLOT(GetTickCount64, 0);
const TickCount64Function ztTickCount64Slot = TickCount64;
}
