#pragma once
#include <windows.h>

#include <exception>

// A failure inside an operation travels as this exception, up to the operation's boundary.
class HResultError : public std::exception {
public:
    explicit HResultError(HRESULT hr) : hr_(hr) {}
    HRESULT code() const { return hr_; }
    const char* what() const noexcept override { return "operation failed"; }

private:
    HRESULT hr_;
};

// A system error code as an HRESULT; a code already in HRESULT form passes unchanged.
HRESULT HResultFromWin32(DWORD error);

[[noreturn]] void ThrowHr(HRESULT hr);
[[noreturn]] void ThrowWin32(DWORD error);
[[noreturn]] void ThrowLastError();

inline void Check(BOOL ok) {
    if (!ok) ThrowLastError();
}
inline void Check(HRESULT hr) {
    if (FAILED(hr)) ThrowHr(hr);
}
// Registry functions return their error instead of setting the last error.
inline void CheckStatus(LSTATUS status) {
    if (status != ERROR_SUCCESS) ThrowWin32(static_cast<DWORD>(status));
}

// The status code of the exception being handled; call only inside a catch block.
HRESULT CurrentExceptionCode() noexcept;

// Runs a step whose failure the caller lets pass on purpose, or only records: the code of
// the failure it threw, S_OK when it succeeded.
template <class Step>
HRESULT FailureOf(Step&& step) noexcept {
    try {
        step();
        return S_OK;
    } catch (...) {
        return CurrentExceptionCode();
    }
}
