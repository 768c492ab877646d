#include "win/hresult.h"

#include <new>

HRESULT HResultFromWin32(DWORD error) {
    return HRESULT_FROM_WIN32(error);
}

void ThrowHr(HRESULT hr) {
    throw HResultError(hr);
}

void ThrowWin32(DWORD error) {
    // A call that failed without saying why must still fail.
    throw HResultError(error == ERROR_SUCCESS ? E_FAIL : HResultFromWin32(error));
}

void ThrowLastError() {
    ThrowWin32(::GetLastError());
}

HRESULT CurrentExceptionCode() noexcept {
    try {
        throw;
    } catch (const HResultError& e) {
        return e.code();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
