#pragma once
#include <string_view>

namespace core {

// What a program's entry receives as its command tail: the line after the program's own
// name (quoted parts of the name may hold spaces) and after the blanks and control
// characters that follow it. Empty when the program was started without arguments.
std::u16string_view CommandTail(std::u16string_view line);

}  // namespace core
