#include "core/text/escaped_text.h"

#include <cstdio>

namespace core {

void AppendEscaped(std::string& out, char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
        out += "\\\\";
    } else if (c == '\n') {
        out += "\\n";
    } else if (c == '\r') {
        out += "\\r";
    } else if (c == '\t') {
        out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02X", byte);
        out += escape;
    } else {
        out += c;
    }
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) AppendEscaped(out, c);
    return out;
}

std::string EscapedPath(std::string_view path) {
    std::string out;
    for (char c : path) {
        if (c == '\\')
            out += c;
        else
            AppendEscaped(out, c);
    }
    return out;
}

}  // namespace core
