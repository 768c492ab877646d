#include "win/safe_write.h"

#include "win/handle_stream.h"
#include "win/held_file.h"
#include "win/hresult.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/unfinished_path.h"

namespace {

// The file and the name it took.
FileHandle CreateUnfinished(const std::wstring& target, SECURITY_ATTRIBUTES* security, std::wstring& taken) {
    return AtFirstFreeUnfinishedName(target, [&](const std::wstring& path) {
        FileHandle file(::CreateFileW(LongPathForm(path).c_str(), GENERIC_WRITE | DELETE, 0, security,
                                      CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
        if (!file) ThrowLastError();
        taken = path;
        return file;
    });
}

void SeekTo(HANDLE file, std::uint64_t offset, DWORD method) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    Check(::SetFilePointerEx(file, position, nullptr, method));
}

}  // namespace

CSafeWrite::CSafeWrite(std::wstring target, SECURITY_ATTRIBUTES* security)
    : target_(std::move(target)), file_(CreateUnfinished(target_, security, path_)) {}

// What it holds may be half a plain file: it goes through the handle that wrote it, so no
// file put under its name meanwhile is reached.
CSafeWrite::~CSafeWrite() {
    if (!owned_ || Placed()) return;
    try {
        DeleteHeld(file_.get());
    } catch (const HResultError&) {
        // A hidden file under an unfinished name is what a later run removes.
    }
}

void CSafeWrite::Write(std::span<const std::uint8_t> bytes) {
    WriteFully(file_.get(), bytes);
}

void CSafeWrite::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    SeekTo(file_.get(), offset, FILE_BEGIN);
    WriteFully(file_.get(), bytes);
    SeekTo(file_.get(), 0, FILE_END);
}

void CSafeWrite::Commit() {
    Flush();
    Place();
    FlushFolder(FolderOf(target_));
}

void CSafeWrite::Place() {
    try {
        MoveIntoPlace();
    } catch (const HResultError& error) {
        if (IsNameTaken(error.code())) throw core::OutputTaken{};
        throw;
    }
    SetHeldAttributes(file_.get(), finalAttributes_);
    Flush();
}

void CSafeWrite::CommitReplacing() {
    Flush();
    RenameHeld(file_.get(), target_, true);
    path_ = target_;
    Finish();
}

void CSafeWrite::Finish() {
    SetHeldAttributes(file_.get(), finalAttributes_);
    MakeDurable();
}

void CSafeWrite::Flush() {
    Check(::FlushFileBuffers(file_.get()));
}

void CSafeWrite::MoveIntoPlace() {
    RenameHeld(file_.get(), target_);
    path_ = target_;
}

void CSafeWrite::MakeDurable() {
    Flush();
    FlushFolder(FolderOf(target_));
}
