#include "core/command_line/command_action.h"

#include <algorithm>

namespace core {

namespace {

char16_t FoldAscii(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

bool IsWord(std::u16string_view text, std::u16string_view lowerWord) {
    return std::ranges::equal(text, lowerWord, {}, FoldAscii);
}

CommandAction WithPaths(std::optional<std::u16string_view> command) {
    if (!command) return CommandAction::kDecryptAndOpenPaths;
    if (IsWord(*command, u"e")) return CommandAction::kEncryptPaths;
    if (IsWord(*command, u"d")) return CommandAction::kDecryptPaths;
    return CommandAction::kNothing;
}

CommandAction WithoutPaths(std::optional<std::u16string_view> command) {
    if (!command) return CommandAction::kNothing;
    if (IsWord(*command, u"regserver")) return CommandAction::kRegister;
    if (IsWord(*command, u"unregserver")) return CommandAction::kUnregister;
    if (IsWord(*command, u"e")) return CommandAction::kChooseAndEncrypt;
    if (IsWord(*command, u"d")) return CommandAction::kChooseAndDecrypt;
    return CommandAction::kNothing;
}

}  // namespace

CommandAction SelectCommandAction(std::optional<std::u16string_view> firstCommand, bool hasPaths) {
    return hasPaths ? WithPaths(firstCommand) : WithoutPaths(firstCommand);
}

}  // namespace core
