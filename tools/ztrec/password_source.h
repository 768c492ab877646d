#pragma once
#include <string>

#include "core/crypto/password.h"
#include "options.h"

namespace ztrec {

// A password ztrec cannot work with; the message says why.
struct PasswordError {
    std::string message;
};

// From --password-file, or asked on the terminal: twice when encrypting, since a mistyped
// password would make files that nobody can open. Empty and overlong passwords are refused.
core::Password ObtainPassword(const Options& options);

}  // namespace ztrec
