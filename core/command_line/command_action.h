#pragma once
#include <optional>
#include <string_view>

namespace core {

// What one start of the main program does.
enum class CommandAction {
    kNothing,
    kEncryptPaths,
    kDecryptPaths,
    kDecryptAndOpenPaths,
    kRegister,
    kUnregister,
    kChooseAndEncrypt,
    kChooseAndDecrypt,
};

// The action for the first command word (none when the line had no command), compared
// without regard to case, and whether the line named any path. Later commands never count.
CommandAction SelectCommandAction(std::optional<std::u16string_view> firstCommand, bool hasPaths);

}  // namespace core
