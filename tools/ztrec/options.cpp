#include "options.h"

#include <string_view>

#include "texts.h"

namespace ztrec {
namespace {

constexpr std::string_view kPasswordFile = "--password-file";
constexpr std::string_view kFormat = "--format";

Command CommandOf(std::string_view word) {
    if (word == "decrypt") return Command::Decrypt;
    if (word == "encrypt") return Command::Encrypt;
    if (word == "upgrade") return Command::Upgrade;
    if (word == "info") return Command::Info;
    throw UsageError{texts::UnknownCommand(word)};
}

// The option's flag in options, or null when the word is none of the flags.
bool* FlagOf(Options& options, std::string_view word) {
    if (word == "--help" || word == "-h") return &options.help;
    if (word == "--version") return &options.version;
    if (word == "--keep") return &options.keep;
    if (word == "--wipe") return &options.wipe;
    if (word == "--check") return &options.check;
    return nullptr;
}

Format FormatOf(std::string_view value) {
    if (value == "1") return Format::Zte;
    if (value == "2") return Format::Sealed;
    throw UsageError{texts::UnknownFormat(value)};
}

// An option with a value, given as "--name VALUE" or "--name=VALUE": the value, or nothing when
// the word is not this option. i moves past a separate value; missing says what one is.
std::optional<Path> ValueOf(std::string_view option, const std::vector<Path>& args, std::size_t& i,
                            std::string (*missing)()) {
    const std::string word = Utf8Of(args[i]);
    if (word == option) {
        if (i + 1 == args.size()) throw UsageError{missing()};
        return args[++i];
    }
    // Cut from the argument itself: its prefix is ASCII in every encoding.
    if (word.starts_with(std::string(option) + '=')) return Path(args[i].native().substr(option.size() + 1));
    return std::nullopt;
}

// An option that belongs to another command is refused rather than ignored: a user who
// typed --wipe with decrypt expects something that would not happen.
void CheckFits(const Options& options) {
    if (options.keep && options.command != Command::Decrypt)
        throw UsageError{texts::OptionOnlyWith("--keep", "decrypt")};
    if (options.wipe && options.command != Command::Encrypt)
        throw UsageError{texts::OptionOnlyWith("--wipe", "encrypt")};
    if (options.check && options.command != Command::Info)
        throw UsageError{texts::OptionOnlyWith("--check", "info")};
    if (options.format && options.command != Command::Encrypt)
        throw UsageError{texts::OptionOnlyWith(kFormat, "encrypt")};
    if (options.passwordFile && !NeedsPassword(options)) throw UsageError{texts::PasswordFileNeedsCheck()};
    if (options.paths.empty()) throw UsageError{texts::NoPaths()};
}

}  // namespace

Options ParseOptions(const std::vector<Path>& args) {
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string word = Utf8Of(args[i]);
        if (optionsEnded || word == "-" || !word.starts_with('-')) {
            if (options.command == Command::None && !optionsEnded)
                options.command = CommandOf(word);
            else
                options.paths.push_back(args[i]);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (bool* flag = FlagOf(options, word)) {
            *flag = true;
        } else if (std::optional<Path> file = ValueOf(kPasswordFile, args, i, texts::MissingPasswordFile)) {
            options.passwordFile = std::move(file);
        } else if (std::optional<Path> format = ValueOf(kFormat, args, i, texts::MissingFormat)) {
            options.format = FormatOf(Utf8Of(*format));
        } else {
            throw UsageError{texts::UnknownOption(word)};
        }
    }
    if (options.help || options.version) return options;
    if (options.command == Command::None) throw UsageError{texts::NoCommand()};
    CheckFits(options);
    return options;
}

bool NeedsPassword(const Options& options) {
    return options.command == Command::Decrypt || options.command == Command::Encrypt ||
           options.command == Command::Upgrade || options.check;
}

}  // namespace ztrec
