#include "core/registration/shell_command.h"

namespace core {

std::u16string_view ProgramOfOpenCommand(std::u16string_view openCommand) {
    return openCommand.substr(0, openCommand.find(u" \"%1\""));
}

std::optional<std::u16string> SelectionCommandLine(std::u16string_view program, bool quoteProgram,
                                                   std::u16string_view switchText,
                                                   std::span<const std::u16string> quotedPaths,
                                                   std::size_t maxUnits) {
    std::u16string line;
    if (quoteProgram && !program.starts_with(u'"')) {
        line.append(u"\"").append(program).append(u"\"");
    } else {
        line.append(program);
    }
    line.append(switchText);
    for (const std::u16string& path : quotedPaths) {
        if (line.size() + 1 + path.size() > maxUnits) return std::nullopt;
        line.append(u" ").append(path);
    }
    if (line.size() > maxUnits) return std::nullopt;
    return line;
}

}  // namespace core
