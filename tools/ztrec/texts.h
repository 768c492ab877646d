#pragma once
// Every text ztrec shows, in one place. Arguments are UTF-8 and already safe to print.
#include <cstdint>
#include <string>
#include <string_view>

#include "options.h"
#include "outcome.h"

namespace ztrec::texts {

std::string Help();
std::string Version();

// The command line.
std::string UnknownCommand(std::string_view word);
std::string UnknownOption(std::string_view word);
std::string NoCommand();
std::string NoPaths();
std::string MissingPasswordFile();
std::string MissingFormat();
std::string UnknownFormat(std::string_view value);
std::string OptionOnlyWith(std::string_view option, std::string_view command);
std::string PasswordFileNeedsCheck();
std::string UsageHint();

// The password.
std::string PasswordPrompt();
std::string PasswordPromptAgain();
std::string PasswordsDiffer();
std::string NoPassword();
std::string PasswordTooLong();
std::string NoTerminal();
std::string CannotReadPassword(std::string_view why);

// One file.
std::string Problem(std::string_view path, Result result, std::string_view detail);
// "a.txt.zte -> a.txt": the file and what it became.
std::string Converted(std::string_view path, std::string_view target);
std::string HeaderUnreadable();
std::string EndsInsideHeader(std::uint64_t size, std::uint64_t headerSize);
std::string StoredNameIs(std::string_view name);
std::string SealedVersionUnknown();
// What an upgraded file became, after its name: "a.txt.zte -> a.txt.zte (sealed)".
std::string Sealed(std::string_view path);
std::string NotRemoved(std::string_view target, std::string_view why);
std::string NotWiped(std::string_view target, std::string_view why);
std::string OutOfMemory();
std::string UnexpectedFailure();

// The summary: "3 decrypted, 1 skipped (1 output exists), 1 failed (...)".
std::string ResultName(Result result);
std::string DoneCount(std::uint64_t count, Command command, bool check);
std::string SkippedCount(std::uint64_t count);
std::string FailedCount(std::uint64_t count);
std::string Interrupted();
std::string NothingFound();

// ztrec info.
enum class Field {
    Magic,
    HeaderSize,
    Blocks,
    StoredName,
    EncryptionType,
    PayloadSize,
    Checksum,
    Check,
    FileSize
};
std::string InfoLine(Field field, std::string_view value);
std::string Bytes(std::uint64_t count);
std::string BlockName(std::uint16_t type);
std::string EncryptionType(std::string_view value, bool compatibility);
std::string ChecksumMatches();
std::string ChecksumDiffers();
std::string SealedMagic();
std::string SealedOpens();
std::string SealedRefused(std::string_view why);

}  // namespace ztrec::texts
