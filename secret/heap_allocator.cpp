#include "secret/heap_allocator.h"

#include "win/hresult.h"

BYTE* _heap_allocator::Allocate(DWORD size) {
    // A zero-byte request still gets a distinct block, so an empty blob and an absent one differ.
    void* data = ::HeapAlloc(::GetProcessHeap(), 0, size == 0 ? 1 : size);
    if (!data) ThrowHr(E_OUTOFMEMORY);
    return static_cast<BYTE*>(data);
}

void _heap_allocator::Free(BYTE* data, DWORD size) noexcept {
    if (!data) return;
    ::SecureZeroMemory(data, size);
    ::HeapFree(::GetProcessHeap(), 0, data);
}
