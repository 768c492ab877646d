#include "password_source.h"

#include "texts.h"

namespace ztrec {
namespace {

core::Password Checked(core::Password password) {
    if (password.Empty()) throw PasswordError{texts::NoPassword()};
    if (password.TooLong()) throw PasswordError{texts::PasswordTooLong()};
    return password;
}

core::Password FromFile(const Path& file) {
    try {
        return ReadPasswordFrom(file == "-" ? nullptr : &file);
    } catch (const Interruption&) {
        throw;
    } catch (...) {
        throw PasswordError{texts::CannotReadPassword(DescribeFailure(std::current_exception()))};
    }
}

core::Password Asked(std::string_view prompt) {
    try {
        return Checked(AskPassword(prompt));
    } catch (const NoTerminal&) {
        throw PasswordError{texts::NoTerminal()};
    }
}

}  // namespace

core::Password ObtainPassword(const Options& options) {
    if (options.passwordFile) return Checked(FromFile(*options.passwordFile));
    core::Password password = Asked(texts::PasswordPrompt());
    if (options.command == Command::Encrypt && !(Asked(texts::PasswordPromptAgain()) == password))
        throw PasswordError{texts::PasswordsDiffer()};
    return password;
}

}  // namespace ztrec
