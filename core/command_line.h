#pragma once
#include <cstddef>
#include <string_view>

namespace core {

// The longest token a command line may carry; a longer one drops the whole line.
inline constexpr std::size_t kMaxCommandTokenUnits = 259;

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
