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
// Makes durable the entry of a file just moved into its folder, with every other entry there,
// where the system can flush a folder.
void FlushFolderOf(const Path& file);

// Something written whose bytes must reach the disk before the next step may rely on them. Many
// of them are made durable together: on a file system that can be flushed whole, one call does
// for all of its files what a flush of each would do.
class Durable {
public:
    virtual ~Durable() = default;
    virtual void Flush() = 0;
    // The file system that holds it when it can be flushed whole; none when only each file can.
    virtual std::optional<std::uint64_t> FileSystem() = 0;
    virtual void FlushFileSystem() = 0;
};

// A file overwritten with zeros and held until it is removed: its zeros are made durable first,
// since zeros still in the cache when the file goes may never reach the disk.
class Wipe : public Durable {
public:
    virtual void Remove() = 0;
};
// Refused, without a byte written, for anything but a plain file with one name.
std::unique_ptr<Wipe> Overwrite(const Path& path);

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
// Commit does every step at once; a batch takes them one by one, for many files: TakeOver, then
// the content made durable (with the others), then Place, then FlushFolder of its folder.
class NewFile : public core::SafeWrite, public Durable {
public:
    // Gives it the times and permissions of `like`, before it is flushed with them.
    virtual void TakeOver() = 0;
    // Moves it to its target without replacing anything: OutputTaken when the target exists.
    virtual void Place() = 0;
};
std::unique_ptr<NewFile> CreateBeside(const Path& target, const Path& like);
// The same for a new content of the file at path, written under a temporary name beside it, whose
// Commit replaces that file in one step instead of refusing it: until then the file is whole,
// from then on the new one stands under its name, flushed. Its times and permissions are kept.
// The file must not be held open meanwhile (Windows refuses to replace a file in use).
std::unique_ptr<NewFile> CreateReplacement(const Path& path);

}  // namespace ztrec
