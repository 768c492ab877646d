#pragma once

// Where the trace library's configuration and header facts live under HKEY_LOCAL_MACHINE.
namespace ZTTraceNS {
inline constexpr wchar_t kTracingKey[] = L"SOFTWARE\\Zentaro\\Tracing";
inline constexpr wchar_t kProductsKey[] = L"SOFTWARE\\Zentaro\\Products";
inline constexpr wchar_t kPoliciesKey[] = L"SOFTWARE\\Policies\\Zentaro";
}  // namespace ZTTraceNS
