#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

namespace core {

// The token of a command line at position, which then moves past the token, the quotation
// marks right after it and the spaces after those. A token that starts with a quotation mark
// runs to the next one (or the end) without the marks; any other token runs to the next
// space, quotation marks included. Only the space separates, and there is no escape
// character. Nothing at the end of the line.
std::optional<std::u16string_view> NextToken(std::u16string_view line, std::size_t& position);

// What a program's entry receives as its command tail: the line after the program's own
// name (quoted parts of the name may hold spaces) and after the blanks and control
// characters that follow it. Empty when the program was started without arguments.
std::u16string_view CommandTail(std::u16string_view line);

// The longest token a command line may carry, the longest path the file functions take (in
// its extended-length form); a longer one drops the whole line.
inline constexpr std::size_t kMaxCommandTokenUnits = 32767;

// Receives a command line's words in order: commands without their leading "/", and paths,
// which the receiver may refuse.
class CommandLineSink {
public:
    virtual ~CommandLineSink() = default;
    virtual void AddCommand(std::u16string_view word) = 0;
    virtual bool AddPath(std::u16string_view path) = 0;
};

// Hands every token after the program's own name to the sink. False as soon as a path is
// refused or a token is too long; the tokens after it are not read, and the caller drops
// what the sink has taken so far.
bool ParseCommandLine(std::u16string_view line, CommandLineSink& sink);

}  // namespace core
