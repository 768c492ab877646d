#pragma once
#include <windows.h>

#include <cstddef>
#include <span>

// The user's secret for a recovery: made from the password the user types, never read from
// the fingerprint or verification libraries.
class CTWUserInfo {
public:
    // The size of a secret made from a password: an MD4 digest.
    static constexpr std::size_t kSecretSize = 16;

    // Asks for the password, owned by the active window. 0 with the secret in secret; 1 when
    // the user cancelled; otherwise the code of the failure that kept the secret from being made.
    static HRESULT LoadCurrentUserSecret(std::span<BYTE, kSecretSize> secret);
};
