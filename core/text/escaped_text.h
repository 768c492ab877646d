#pragma once
#include <string>
#include <string_view>

namespace core {

// Text from a file shown on one line of a terminal: control characters, DEL and backslashes
// become escapes (\n, \r, \t, \\, \xNN), so that no byte of it can move the cursor or start
// a terminal's control sequence. Other bytes pass unchanged.
void AppendEscaped(std::string& out, char c);
std::string Escaped(std::string_view text);

// The same for a path, where a backslash is a Windows path's separator and stays as it is.
std::string EscapedPath(std::string_view path);

}  // namespace core
