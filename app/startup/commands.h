#pragma once
#include <string_view>

#include "app/startup/files.h"
#include "text/string_list.h"

// The command words of a command line without their "/", and its paths, in the order met.
class CCommands {
public:
    // Fills both lists from the whole command line, the program's own name first. A path
    // that does not exist, or a token too long to be a path, drops the whole line: both
    // lists are then empty and the result is false.
    bool ParseCommandLine(std::wstring_view commandLine);

    const CStringList& Commands() const { return commands_; }
    const CStringList& Paths() const { return files_.Paths(); }

private:
    CStringList commands_;
    CFiles files_;
};
