#pragma once
#include <windows.h>

#include <type_traits>

#include "trace/trace_scope.h"
#include "win/hresult.h"

// The boundary of an operation: runs the body, turns any exception into its status code,
// traces a failure under the operation's scope and returns the code. A body returning void
// succeeds with S_OK; a body returning HRESULT passes its own result through.
template <class Body>
HRESULT Guarded(trace::CTraceScope& scope, Body&& body) noexcept {
    HRESULT hr = S_OK;
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Body>>) {
            body();
        } else {
            hr = body();
        }
    } catch (...) {
        hr = CurrentExceptionCode();
    }
    trace::TraceResult(scope, nullptr, hr);
    return hr;
}
