#pragma once
#include <cstddef>
#include <string_view>

// Every registry key the suite reads or writes, spelled once. Paths are below
// HKEY_LOCAL_MACHINE unless their comment names another root.

// The suite's own keys. The settings keys are per user: below HKEY_CURRENT_USER and each
// profile under HKEY_USERS; the product key is also the user's reminder settings below
// HKEY_CURRENT_USER.
inline constexpr wchar_t kZentaroKey[] = L"SOFTWARE\\Zentaro";
inline constexpr wchar_t kApplicationsKey[] = L"SOFTWARE\\Zentaro\\Applications";
inline constexpr wchar_t kTapwiseCryptoKey[] = L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto";
inline constexpr wchar_t kExtensionFilterValue[] = L"ExtensionFilter";
// The format files are encrypted to, a DWORD below kTapwiseCryptoKey: the machine's policy
// below HKEY_LOCAL_MACHINE, the user's choice below HKEY_CURRENT_USER.
inline constexpr wchar_t kFileFormatValue[] = L"FileFormat";
// The applications recorded for decrypted items, by the item's key.
inline constexpr wchar_t kRecordedApplicationsKey[] =
    L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto\\Applications";
inline constexpr wchar_t kAppSettingsKey[] = L"SOFTWARE\\Zentaro\\Applications\\TWAppSettings";
inline constexpr wchar_t kGeneralSettingsKey[] = L"SOFTWARE\\Zentaro\\Applications\\Settings";
inline constexpr wchar_t kDashboardPlugInsKey[] = L"SOFTWARE\\Zentaro\\Applications\\DashBoard\\PlugIns";
inline constexpr wchar_t kDashboardHelpKey[] = L"SOFTWARE\\Zentaro\\Applications\\DashBoard\\Help";
inline constexpr wchar_t kBrandingKey[] = L"SOFTWARE\\Zentaro\\Branding\\Common";
inline constexpr wchar_t kTracingKey[] = L"SOFTWARE\\Zentaro\\Tracing";
inline constexpr wchar_t kProductsKey[] = L"SOFTWARE\\Zentaro\\Products";
inline constexpr wchar_t kPoliciesKey[] = L"SOFTWARE\\Policies\\Zentaro";

// The encrypted files' type and extension, below HKEY_CLASSES_ROOT.
inline constexpr wchar_t kFileTypeKey[] = L"Tapwise Crypto";
inline constexpr wchar_t kOpenCommandKey[] = L"Tapwise Crypto\\shell\\open\\command";
inline constexpr wchar_t kZteExtensionKey[] = L".zte";

// The system's keys the suite registers itself in or repairs.
inline constexpr wchar_t kShellExtensionsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Extensions";
inline constexpr wchar_t kClassIdsKey[] = L"Software\\Classes\\CLSID";
// Below HKEY_CLASSES_ROOT\<root>, for a root such as "*" or "Directory".
inline constexpr wchar_t kContextMenuHandlerBelowRoot[] = L"\\shellex\\ContextMenuHandlers\\Tapwise Crypto";
inline constexpr wchar_t kCryptoProvidersKey[] = L"Software\\Microsoft\\Cryptography\\Defaults\\Provider";

namespace core {

// A key path as the portable rules compare it: the same ASCII text in UTF-16.
template <std::size_t N>
struct U16KeyPath {
    char16_t text[N];
    constexpr std::u16string_view view() const { return {text, N - 1}; }
};

template <std::size_t N>
consteval U16KeyPath<N> AsU16KeyPath(const wchar_t (&path)[N]) {
    U16KeyPath<N> converted{};
    for (std::size_t i = 0; i < N; ++i) converted.text[i] = static_cast<char16_t>(path[i]);
    return converted;
}

}  // namespace core
