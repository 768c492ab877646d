#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "win/unique_handle.h"

// A file held open, and what is done to it through that handle rather than by its name: a
// name can be swapped for a link or another file between two calls, a handle cannot. The
// share mode of the handle keeps other programs from deleting or renaming the file while it is
// held. Failures are thrown as HRESULTs.

// What the system says of a held file.
struct FileIdentity {
    DWORD volume = 0;
    std::uint64_t index = 0;
    DWORD attributes = 0;
    DWORD links = 0;
    std::uint64_t size = 0;
    FILETIME lastWrite{};

    bool SameFileAs(const FileIdentity& other) const {
        return volume == other.volume && index == other.index;
    }
    // The same file with the same size and last-write time: nobody wrote to it in between.
    bool UnchangedSince(const FileIdentity& earlier) const;
    // A plain file with one name: what is done to it reaches nothing else.
    bool IsPlainWithOneName() const;
};
FileIdentity IdentityOf(HANDLE file);

// Opens the name itself, never what a link there leads to. Invalid with the last error set
// when it cannot be opened.
FileHandle OpenNoFollow(const std::wstring& path, DWORD access, DWORD share);

// A plain file with one name held for reading, writing and deletion, shared with readers
// only, so that it can be overwritten and deleted through this one handle and nobody else
// writes, renames or deletes it meanwhile.
struct HeldPlainFile {
    // Invalid when the file could not be held.
    FileHandle file;
    // The file as it was found, its read-only bit included; all zero when it could not be
    // opened at all.
    FileIdentity identity;
    // Why it could not be opened; 0 when it was opened but is not a plain file with one name.
    DWORD error = 0;
};
// Holds the name itself, never what a link leads to. A read-only file is made writable for
// it (through a handle that proves it the same file): whoever keeps the file gives it back
// its attributes.
HeldPlainFile HoldPlainFile(const std::wstring& path);

// Gives the held file a new name in any folder of its volume without replacing anything (the
// failure is ERROR_ALREADY_EXISTS when the name is taken), or with replaceExisting in place of
// the file of that name, in one step. The handle needs DELETE access.
void RenameHeld(HANDLE file, const std::wstring& newPath, bool replaceExisting = false);
// The file goes when its last handle is closed. The handle needs DELETE access.
void DeleteHeld(HANDLE file);
// Sets the attributes exactly (none is FILE_ATTRIBUTE_NORMAL), leaving the times alone.
void SetHeldAttributes(HANDLE file, DWORD attributes);
// Overwrites the content with zeros from the start to the end and flushes that to the disk:
// an overwrite still in the cache when the file is deleted may never reach it.
void OverwriteWithZeros(HANDLE writable);
// The same without the flush, for a caller that flushes many files together before it
// deletes any of them.
void WriteZerosOver(HANDLE writable);

// Whether the file has streams beside its unnamed one, which a copy of its content would not
// carry. False where the file system has none.
bool HasNamedStreams(HANDLE file);

// Makes the folder's entries durable where the system can flush a folder; where it cannot,
// nothing happens.
void FlushFolder(const std::wstring& folder);
