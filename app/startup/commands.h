#pragma once
#include <string_view>

#include "text/string_containers.h"

// The paths of a command line, in the order met; only paths that exist are taken.
class CFiles {
public:
    // True when the path was appended. It is kept exactly as given, so a wildcard pattern
    // that matches something stays the pattern.
    bool Add(std::wstring_view path);

    const CStringList& Paths() const { return paths_; }

private:
    CStringList paths_;
};

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
