#include "secret/crypt_blob.h"

#include <algorithm>

#include "win/hresult.h"

BYTE* HeapAllocator::Allocate(DWORD size) {
    // A zero-byte request still gets a distinct block, so an empty blob and an absent one differ.
    void* data = ::HeapAlloc(::GetProcessHeap(), 0, size == 0 ? 1 : size);
    if (!data) ThrowHr(E_OUTOFMEMORY);
    return static_cast<BYTE*>(data);
}

void HeapAllocator::Free(BYTE* data, DWORD size) noexcept {
    if (!data) return;
    ::SecureZeroMemory(data, size);
    ::HeapFree(::GetProcessHeap(), 0, data);
}

CWideStringBlob::CWideStringBlob(std::wstring_view text) {
    const auto* units = reinterpret_cast<const BYTE*>(text.data());
    const DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    // The buffer comes zeroed, so its last unit is already the terminator.
    std::copy(units, units + size, Reset(size + sizeof(wchar_t)).begin());
}
