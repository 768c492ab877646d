#pragma once
#include <windows.h>

// Blob buffers on the process heap. What a buffer held is zeroed before it goes back: blobs
// carry secrets and passwords.
struct _heap_allocator {
    // Throws E_OUTOFMEMORY when the heap has no room.
    static BYTE* Allocate(DWORD size);
    static void Free(BYTE* data, DWORD size) noexcept;
};
