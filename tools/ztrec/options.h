#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform.h"

namespace ztrec {

enum class Command { None, Decrypt, Encrypt, Upgrade, Info };

// The formats encrypt writes, as --format names them.
enum class Format { Zte = 1, Sealed = 2 };

struct Options {
    Command command = Command::None;
    bool help = false;
    bool version = false;
    bool keep = false;
    bool wipe = false;
    bool check = false;
    std::optional<Format> format;      // given with --format
    std::optional<Path> passwordFile;  // "-" stands for standard input
    std::vector<Path> paths;
};

// A command line ztrec cannot act on; the message says why.
struct UsageError {
    std::string message;
};

// The command first, then options and paths in any order; "--" ends the options.
Options ParseOptions(const std::vector<Path>& args);

bool NeedsPassword(const Options& options);

}  // namespace ztrec
