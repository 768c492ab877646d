// Files and folders on Windows.
#include <windows.h>

#include <string>
#include <vector>

#include "engine/source_security.h"
#include "tools/ztrec/platform.h"
#include "win/handle_stream.h"
#include "win/held_file.h"
#include "win/hresult.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/safe_write.h"
#include "win/unique_handle.h"

namespace ztrec {
namespace {

// What a new file takes over from the one it is made from; the rest belongs to the folder.
constexpr DWORD kCopiedAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

FileHandle Open(const Path& path, DWORD access, DWORD share, DWORD disposition,
                SECURITY_ATTRIBUTES* security = nullptr) {
    FileHandle file(::CreateFileW(LongPathForm(path).c_str(), access, share, security, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError();
    return file;
}

void SeekTo(HANDLE file, std::uint64_t offset, DWORD method = FILE_BEGIN) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    Check(::SetFilePointerEx(file, position, nullptr, method));
}

std::uint64_t SizeOf(HANDLE file) {
    LARGE_INTEGER size{};
    Check(::GetFileSizeEx(file, &size));
    return static_cast<std::uint64_t>(size.QuadPart);
}

// A read-only file is made writable before it is changed or removed, as the engines do.
void MakeWritable(const Path& path) {
    const DWORD attributes = ::GetFileAttributesW(LongPathForm(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(LongPathForm(path).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

class WindowsInput final : public InputFile {
public:
    explicit WindowsInput(const Path& path)
        : file_(Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING)) {}

    std::size_t Read(std::span<std::uint8_t> buffer) override { return ReadFully(file_.get(), buffer); }
    std::uint64_t Position() override {
        LARGE_INTEGER position{};
        Check(::SetFilePointerEx(file_.get(), LARGE_INTEGER{}, &position, FILE_CURRENT));
        return static_cast<std::uint64_t>(position.QuadPart);
    }
    std::uint64_t Size() override { return SizeOf(file_.get()); }
    void Seek(std::uint64_t offset) override { SeekTo(file_.get(), offset); }
    std::uint64_t Names() override { return IdentityOf(file_.get()).links; }

private:
    FileHandle file_;
};

// Only an administrator may flush a whole volume: each file is flushed alone.
template <class Base>
class FlushedAlone : public Base {
public:
    std::optional<std::uint64_t> FileSystem() override { return std::nullopt; }
    void FlushFileSystem() override { this->Flush(); }
};

// The engines' safe write, given the times and attributes of `like` before it is moved into place.
class WindowsNewFile final : public FlushedAlone<NewFile> {
public:
    WindowsNewFile(const Path& target, const Path& like, bool replacing)
        : like_(like),
          replacing_(replacing),
          file_(target.native(), CSourceSecurity(like.native()).Attributes()) {}

    void Write(std::span<const std::uint8_t> bytes) override { file_.Write(bytes); }
    void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        file_.WriteAt(offset, bytes);
    }
    void Commit() override {
        TakeOver();
        if (!replacing_) return file_.Commit();
        // A read-only file is not replaced; the new one takes the bit back with its attributes.
        MakeWritable(like_);
        file_.CommitReplacing();
    }
    void Flush() override { file_.Flush(); }
    void Place() override { file_.Place(); }

    // Through a handle closed again before the commit: the file replaced must be held by nobody.
    void TakeOver() override {
        const FileHandle like =
            Open(like_, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
        FILETIME created{}, accessed{}, written{};
        Check(::GetFileTime(like.get(), &created, &accessed, &written));
        Check(::SetFileTime(file_.Handle(), &created, &accessed, &written));
        file_.SetFinalAttributes(IdentityOf(like.get()).attributes & kCopiedAttributes);
    }

private:
    Path like_;
    bool replacing_;
    CSafeWrite file_;
};

// Overwritten and deleted through one handle to the name itself, never what a link leads to.
class WindowsWipe final : public FlushedAlone<Wipe> {
public:
    explicit WindowsWipe(const Path& path) : held_(HoldPlainFile(path.native())) {
        // A name added since the file was read would lose its content too.
        if (!held_.file) ThrowWin32(held_.error != 0 ? held_.error : ERROR_TOO_MANY_LINKS);
        OverwriteWithZeros(held_.file.get());
    }

    // The engines' overwrite flushes the zeros itself.
    void Flush() override {}
    void Remove() override {
        DeleteHeld(held_.file.get());
        held_.file.reset();
    }

private:
    HeldPlainFile held_;
};

}  // namespace

Kind KindOf(const Path& path, bool followLinks) {
    const DWORD attributes = ::GetFileAttributesW(LongPathForm(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Kind::Missing;
        ThrowWin32(error);
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !followLinks) return Kind::Link;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Kind::Folder;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return Kind::Other;
    return Kind::File;
}

std::vector<Path> ListFolder(const Path& folder) {
    std::vector<Path> entries;
    WIN32_FIND_DATAW found{};
    const FindHandle search(::FindFirstFileW(LongPathForm(folder / L"*").c_str(), &found));
    if (!search) {
        // Only a drive's empty root has no "." to find.
        if (::GetLastError() == ERROR_FILE_NOT_FOUND) return entries;
        ThrowLastError();
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") entries.push_back(folder / found.cFileName);
    } while (::FindNextFileW(search.get(), &found));
    if (::GetLastError() != ERROR_NO_MORE_FILES) ThrowLastError();
    return entries;
}

void Remove(const Path& path) {
    MakeWritable(path);
    Check(::DeleteFileW(LongPathForm(path).c_str()));
}

void FlushFolderOf(const Path& file) {
    ::FlushFolder(FolderOf(file.native()));
}

std::unique_ptr<Wipe> Overwrite(const Path& path) {
    return std::make_unique<WindowsWipe>(path);
}

std::unique_ptr<InputFile> OpenInput(const Path& path) {
    return std::make_unique<WindowsInput>(path);
}

std::unique_ptr<NewFile> CreateBeside(const Path& target, const Path& like) {
    return std::make_unique<WindowsNewFile>(target, like, false);
}

std::unique_ptr<NewFile> CreateReplacement(const Path& path) {
    return std::make_unique<WindowsNewFile>(path, path, true);
}

}  // namespace ztrec
