#pragma once
#include <oleauto.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "win/hresult.h"
#include "win/unique_handle.h"

namespace handle_detail {
inline void FreeBstr(BSTR text) {
    ::SysFreeString(text);
}
}  // namespace handle_detail

// A BSTR owned by this side: from SysAllocString or handed out by a COM call.
using Bstr = UniqueHandle<SimpleTraits<BSTR, nullptr, handle_detail::FreeBstr>>;

// A copy of the text; running out of memory is thrown as E_OUTOFMEMORY.
inline Bstr MakeBstr(std::wstring_view text) {
    Bstr copy(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    if (!copy) ThrowHr(E_OUTOFMEMORY);
    return copy;
}

// The text, embedded zeros included; a null BSTR is the empty string, as COM treats it.
inline std::wstring BstrText(BSTR text) {
    return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}
