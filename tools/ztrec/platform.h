#pragma once
// What ztrec needs from the system. Everything else in this folder is the same on every
// platform; posix/ and windows/ implement this once each. Failures of the system are thrown
// in the platform's own way and turned into text by SystemErrorText.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/container/byte_stream.h"
#include "core/container/safe_write.h"
#include "core/crypto/password.h"

namespace ztrec {

using Path = std::filesystem::path;

// Paths in the encoding of messages and headers, UTF-8, and back from a stored name.
std::string Utf8Of(const Path& path);
Path PathOf(std::u16string_view name);

// The system's description of the failure held by error, when the system raised it.
std::optional<std::string> SystemErrorText(std::exception_ptr error);

// ---- console

enum class Stream { Out, Err };
void Write(Stream stream, std::string_view utf8);
bool IsTerminal(Stream stream);
// Columns of the terminal the error stream shows on; 80 when it cannot be told.
std::size_t TerminalWidth();

// Asks on the controlling terminal, without echo, also when the standard streams are
// redirected. Throws NoTerminal when there is none.
struct NoTerminal {};
core::Password AskPassword(std::string_view prompt);
// The first line of a file, or of standard input when path is null.
core::Password ReadPasswordFrom(const Path* path);

// From now on an interrupt (Ctrl+C, a terminal closing, a termination request) only sets
// the flag that Interrupted returns, so that the file in hand is cleaned up before ztrec ends.
void WatchInterrupts();
bool Interrupted();
// Thrown where an interrupt stops the work in hand.
struct Interruption {};

// ---- files

enum class Kind { Missing, File, Folder, Link, Other };
// What is at path; with followLinks a symbolic link (or reparse point) reports what it
// points to, without it Link.
Kind KindOf(const Path& path, bool followLinks);
// Every entry of a folder but "." and "..", in no particular order.
std::vector<Path> ListFolder(const Path& folder);
void Remove(const Path& path);
// Overwrites the file's content with zeros, flushes that to the disk and removes the file.
// Refused, without a byte written, for anything but a plain file with one name.
void WipeAndRemove(const Path& path);

class InputFile : public core::ByteSource {
public:
    // Reads until the buffer is full or the file ends: the cipher's chunks depend on it.
    std::size_t Read(std::span<std::uint8_t> buffer) override = 0;
    virtual std::uint64_t Size() = 0;
    virtual void Seek(std::uint64_t offset) = 0;
    // How many names the file has: more than one when hard links share its content.
    virtual std::uint64_t Names() = 0;
};
std::unique_ptr<InputFile> OpenInput(const Path& path);

using core::OutputTaken;

// The safe write (core/container/safe_write.h) of a new file beside its target, made from the
// file `like` (the file it is deciphered or enciphered from): as private as that one from its
// first byte where the system can tell, and given its times and permissions when committed.
using NewFile = core::SafeWrite;
std::unique_ptr<NewFile> CreateBeside(const Path& target, const Path& like);
// The same for a new content of the file at path, written under a temporary name beside it, whose
// Commit replaces that file in one step instead of refusing it: until then the file is whole,
// from then on the new one stands under its name, flushed. Its times and permissions are kept.
// The file must not be held open meanwhile (Windows refuses to replace a file in use).
std::unique_ptr<NewFile> CreateReplacement(const Path& path);

}  // namespace ztrec
