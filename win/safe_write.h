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
    // Flushes, renames the file by its handle without replacing anything, gives it its final
    // attributes (until then it stays hidden as unfinished) and flushes it again with its
    // folder: on FAT the lazy writer may otherwise write what follows the move before it.
    void Commit() override;

    // Exactly the attributes the file has once in place; none unless set.
    void SetFinalAttributes(DWORD attributes) { finalAttributes_ = attributes; }
    HANDLE Handle() const { return file_.get(); }

private:
    std::wstring target_;
    FileHandle file_;
    DWORD finalAttributes_ = 0;
    bool placed_ = false;
};
