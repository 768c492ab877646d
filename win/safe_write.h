#pragma once
#include <windows.h>

#include <string>

#include "core/container/safe_write.h"
#include "win/unique_handle.h"

// The safe write on Windows. The file is created hidden under the first free unfinished name
// of its target (win/unfinished_path.h), held unshared, so that a later run may remove it if
// this one dies and no other run touches it while this one lives. Everything after its
// creation goes through that one handle: a name can be swapped for a link between two calls,
// a handle cannot. Failures are thrown as HRESULTs.
class CSafeWrite final : public core::SafeWrite {
public:
    // security is null for the folder's rules.
    CSafeWrite(std::wstring target, SECURITY_ATTRIBUTES* security);
    ~CSafeWrite() override;
    CSafeWrite(const CSafeWrite&) = delete;
    CSafeWrite& operator=(const CSafeWrite&) = delete;

    void Write(std::span<const std::uint8_t> bytes) override;
    void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
    // Flush, MoveIntoPlace, the final attributes (until then it stays hidden as unfinished),
    // then MakeDurable; a taken target is OutputTaken.
    void Commit() override;
    // As Commit, but in place of the file that holds the target's name, in one step, for a new
    // content of that very file: its name never stands empty nor on half a file.
    void CommitReplacing();

    // Commit for a caller that flushed the file itself and flushes the folder once for many
    // files: MoveIntoPlace (a taken target is OutputTaken), the final attributes, and the file
    // flushed again with them.
    void Place();

    // The steps of a commit, for a caller that tells apart which one failed.
    void Flush();
    // Renames the file by its handle without replacing anything; a taken name is thrown as
    // the system's failure. From here on the file is never removed.
    void MoveIntoPlace();
    // Flushes the file again with its folder: a move is durable on its own only where the file
    // system journals it, and on FAT the lazy writer may otherwise write what follows it first.
    void MakeDurable();

    // Leaves the file to the caller: it is not removed when this goes. For a caller that
    // removes it in its own way, or keeps it for a later run when that fails.
    void Disown() { owned_ = false; }

    // Exactly the attributes the file has once in place; none unless set.
    void SetFinalAttributes(DWORD attributes) { finalAttributes_ = attributes; }
    HANDLE Handle() const { return file_.get(); }
    // Where the file is now: its unfinished name, then its target once in place.
    const std::wstring& Path() const { return path_; }
    bool Placed() const { return path_ == target_; }

private:
    // The attributes and the flush that end either commit.
    void Finish();

    std::wstring target_;
    std::wstring path_;
    FileHandle file_;
    DWORD finalAttributes_ = 0;
    bool owned_ = true;
};
