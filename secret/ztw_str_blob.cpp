#include "secret/ztw_str_blob.h"

#include <algorithm>

CZTWStrBlob::CZTWStrBlob(std::wstring_view text) {
    const auto* units = reinterpret_cast<const BYTE*>(text.data());
    const DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    // The buffer comes zeroed, so its last unit is already the terminator.
    std::copy(units, units + size, Reset(size + sizeof(wchar_t)).begin());
}
