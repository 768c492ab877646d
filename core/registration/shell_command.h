#pragma once
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace core {

// The longest command line the system starts, without its terminator.
inline constexpr std::size_t kMaxProcessCommandUnits = 32767;

// The program's command in the open command registered for encrypted files: the text in front
// of the placeholder ` "%1"`, or the whole command when it has none.
std::u16string_view ProgramOfOpenCommand(std::u16string_view openCommand);

// The line that hands a selection to the main program: the program, then the switch, then
// each quoted path after one space. With quoteProgram a program not yet in quotation marks is
// put in them, so that a path with spaces is not split where the first space is. Nothing when
// the line would exceed maxUnits: a line that left paths out would act on part of the
// selection without saying so.
std::optional<std::u16string> SelectionCommandLine(std::u16string_view program, bool quoteProgram,
                                                   std::u16string_view switchText,
                                                   std::span<const std::u16string> quotedPaths,
                                                   std::size_t maxUnits = kMaxProcessCommandUnits);

}  // namespace core
