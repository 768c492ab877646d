#pragma once

// Where the suite's machine-wide configuration lives under HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kZentaroKey[] = L"SOFTWARE\\Zentaro";
inline constexpr wchar_t kTapwiseCryptoKey[] = L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto";
inline constexpr wchar_t kExtensionFilterValue[] = L"ExtensionFilter";
inline constexpr wchar_t kApplicationsKey[] = L"SOFTWARE\\Zentaro\\Applications";
inline constexpr wchar_t kBrandingKey[] = L"SOFTWARE\\Zentaro\\Branding\\Common";
