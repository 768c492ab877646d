#include "app/authentication/ztfp_allocator.h"

#include "app/authentication/ztfp_api.h"

void _ztfp_allocator::Free(BYTE* data, DWORD size) noexcept {
    if (!data) return;
    ::SecureZeroMemory(data, size);
    try {
        ztfp::BufferFree(data);
    } catch (...) {
        // A buffer can only come from a bound library, so this cannot fail; were it to, the
        // zeroed buffer is left rather than letting a destructor throw.
    }
}
