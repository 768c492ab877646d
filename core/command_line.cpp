#include "command_line.h"

#include "command_token.h"

namespace core {

bool ParseCommandLine(std::u16string_view line, CommandLineSink& sink) {
    std::size_t position = 0;
    // The program's own name is passed over unread, however long the installation path.
    NextToken(line, position);
    while (const auto token = NextToken(line, position)) {
        if (token->size() > kMaxCommandTokenUnits) return false;
        if (!token->empty() && token->front() == u'/') {
            sink.AddCommand(token->substr(1));
        } else if (!sink.AddPath(*token)) {
            return false;
        }
    }
    return true;
}

}  // namespace core
