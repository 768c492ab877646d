#include "command_tail.h"

namespace core {

std::u16string_view CommandTail(std::u16string_view line) {
    std::size_t i = 0;
    bool quoted = false;
    for (; i < line.size() && (line[i] > u' ' || quoted); ++i) {
        if (line[i] == u'"') quoted = !quoted;
    }
    while (i < line.size() && line[i] <= u' ') ++i;
    return line.substr(i);
}

}  // namespace core
