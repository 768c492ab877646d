#include "texts.h"

#include <cstdio>

namespace ztrec::texts {
std::string Help() {
    return R"(usage: ztrec decrypt [--keep] [--password-file FILE] PATH...
       ztrec encrypt [--wipe] [--format 1|2] [--password-file FILE] PATH...
       ztrec upgrade [--password-file FILE] PATH...
       ztrec info [--check [--password-file FILE]] PATH...
       ztrec --help | --version

Reads and writes the encrypted .zte files of Tapwise Crypto without Windows,
in both its formats: the first one, and the sealed one, authenticated.
Folders are walked with everything in them.

  decrypt   turns each encrypted file back into the plain file beside it, under
            the name stored in it; the encrypted file is removed once the plain
            file is complete, checked and in place
  encrypt   turns each file into FILE.zte beside it, which Tapwise Crypto opens
            with the same password; the plain file is kept
  upgrade   rewrites each file of the first format as a sealed file under its
            own name; the old file stays until the new one is complete,
            checked and on the disk
  info      shows what an encrypted file's header holds; needs no password

  --keep                keep the encrypted files after decrypting them
  --wipe                overwrite each plain file with zeros and remove it once
                        its encrypted file is complete
  --format 1|2          with encrypt: write the first format (1, the default)
                        or sealed files (2)
  --check               with info: decipher the content and check it, writing
                        nothing
  --password-file FILE  read the password from the first line of FILE ("-" for
                        standard input) instead of asking on the terminal

The password is the one from which the suite made the user's secret, as typed
in its password dialog. An existing file is never replaced, but by upgrade.

Exit status: 0 when every file succeeded, 1 when a file was skipped or failed,
2 when nothing was done (command line, password), 130 when interrupted.
)";
}

std::string Version() {
    return "ztrec " ZT_VERSION "\n";
}

std::string UnknownCommand(std::string_view word) {
    return "unknown command \"" + std::string(word) + "\"";
}
std::string UnknownOption(std::string_view word) {
    return "unknown option \"" + std::string(word) + "\"";
}
std::string NoCommand() {
    return "no command: decrypt, encrypt, upgrade or info";
}
std::string NoPaths() {
    return "no file or folder given";
}
std::string MissingPasswordFile() {
    return "--password-file needs a file name, or \"-\" for standard input";
}
std::string MissingFormat() {
    return "--format needs 1 (the first format) or 2 (sealed files)";
}
std::string UnknownFormat(std::string_view value) {
    return "unknown format \"" + std::string(value) + "\": 1 (the first format) or 2 (sealed files)";
}
std::string OptionOnlyWith(std::string_view option, std::string_view command) {
    return std::string(option) + " goes only with " + std::string(command);
}
std::string PasswordFileNeedsCheck() {
    return "info reads a password only with --check";
}
std::string UsageHint() {
    return "see \"ztrec --help\"";
}

std::string PasswordPrompt() {
    return "Password: ";
}
std::string PasswordPromptAgain() {
    return "The same password again: ";
}
std::string PasswordsDiffer() {
    return "the two passwords differ; nothing was encrypted";
}
std::string NoPassword() {
    return "no password given";
}
std::string PasswordTooLong() {
    return "the password is longer than the 256 characters the suite's password dialogs take";
}
std::string NoTerminal() {
    return "no terminal to ask for the password on; use --password-file";
}
std::string CannotReadPassword(std::string_view why) {
    return "cannot read the password: " + std::string(why);
}

std::string Problem(std::string_view path, Result result, std::string_view detail) {
    std::string line = "ztrec: " + std::string(path) + ": ";
    if (IsSkipped(result)) line += "skipped, ";
    line += ResultName(result);
    if (!detail.empty()) line += ": " + std::string(detail);
    return line + '\n';
}
std::string Converted(std::string_view path, std::string_view target) {
    return std::string(path) + " -> " + std::string(target) + '\n';
}
std::string HeaderUnreadable() {
    return "its header cannot be read";
}
std::string EndsInsideHeader(std::uint64_t size, std::uint64_t headerSize) {
    return "the file ends after " + Bytes(size) + ", inside its " + Bytes(headerSize) + " header";
}
std::string StoredNameIs(std::string_view name) {
    return "the stored name is \"" + std::string(name) + "\"";
}
std::string SealedVersionUnknown() {
    return "its version is not one this ztrec reads";
}
std::string Sealed(std::string_view path) {
    return std::string(path) + " (sealed)";
}
std::string NotRemoved(std::string_view target, std::string_view why) {
    return "decrypted to " + std::string(target) +
           ", but the .zte file could not be removed: " + std::string(why);
}
std::string NotWiped(std::string_view target, std::string_view why) {
    return "encrypted to " + std::string(target) +
           ", but the plain file could not be wiped: " + std::string(why);
}
std::string OutOfMemory() {
    return "out of memory";
}
std::string UnexpectedFailure() {
    return "unexpected failure";
}

std::string ResultName(Result result) {
    switch (result) {
        case Result::Done:
        case Result::Ignored:
            return {};
        case Result::NotEncrypted:
            return "not an encrypted file";
        case Result::AlreadyEncrypted:
            return "already encrypted";
        case Result::AlreadySealed:
            return "already sealed";
        case Result::NameRefused:
            return "name refused";
        case Result::OutputExists:
            return "output exists";
        case Result::SeveralNames:
            return "has other names (hard links): wiping it would destroy the content under every name";
        case Result::NotRegularFile:
            return "not a regular file";
        case Result::Missing:
            return "no such file or folder";
        case Result::Damaged:
            return "damaged file";
        case Result::WrongPasswordOrDamaged:
            return "wrong password or damaged file";
        case Result::Altered:
            return "altered or damaged file, or another password";
        case Result::Incomplete:
            return "not finished";
        case Result::SystemFailure:
            return "failed";
    }
    return {};
}
std::string DoneCount(std::uint64_t count, Command command, bool check) {
    switch (command) {
        case Command::Decrypt:
            return std::to_string(count) + " decrypted";
        case Command::Encrypt:
            return std::to_string(count) + " encrypted";
        case Command::Upgrade:
            return std::to_string(count) + " upgraded";
        default:
            return std::to_string(count) + (check ? " checked" : " read");
    }
}
std::string SkippedCount(std::uint64_t count) {
    return std::to_string(count) + " skipped";
}
std::string FailedCount(std::uint64_t count) {
    return std::to_string(count) + " failed";
}
std::string Interrupted() {
    return "interrupted; the file in hand was left as it was and the rest not started";
}
std::string NothingFound() {
    return "no file to work on";
}

std::string InfoLine(Field field, std::string_view value) {
    static constexpr const char* kLabels[] = {"magic",       "header size",     "blocks",
                                              "stored name", "encryption type", "payload size",
                                              "checksum",    "check",           "file size"};
    char label[24];
    std::snprintf(label, sizeof label, "  %-17s", kLabels[static_cast<int>(field)]);
    return label + std::string(value) + '\n';
}
std::string Bytes(std::uint64_t count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}
std::string BlockName(std::uint16_t type) {
    switch (type) {
        case 1:
            return "checksum";
        case 2:
            return "file name";
        case 3:
            return "encryption type";
        default:
            return "unknown";
    }
}
std::string EncryptionType(std::string_view value, bool compatibility) {
    return std::string(value) + (compatibility ? " (40-bit key of older files)" : " (128-bit key)");
}
std::string ChecksumMatches() {
    return "the content deciphers to its checksum";
}
std::string ChecksumDiffers() {
    return "the content does not decipher to its checksum";
}
std::string SealedMagic() {
    return "ZTS2 (sealed file)";
}
std::string SealedOpens() {
    return "every byte is authentic";
}
std::string SealedRefused(std::string_view why) {
    return "refused: " + std::string(why);
}

}  // namespace ztrec::texts
