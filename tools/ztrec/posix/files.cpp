// Files and folders on POSIX systems.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "system_call.h"
#include "tools/ztrec/platform.h"

namespace ztrec {
namespace {

constexpr std::size_t kWipeBlock = 1 << 20;
constexpr mode_t kPermissionBits = 0777;

void WriteAllAt(int fd, std::span<const std::uint8_t> bytes, off_t offset) {
    while (!bytes.empty()) {
        const std::size_t written =
            Uninterrupted([&] { return ::pwrite(fd, bytes.data(), bytes.size(), offset); });
        bytes = bytes.subspan(written);
        offset += static_cast<off_t>(written);
    }
}

struct stat StatOf(const Path& path) {
    struct stat status {};
    Check(::lstat(path.c_str(), &status));
    return status;
}

Path FolderOf(const Path& path) {
    return path.has_parent_path() ? path.parent_path() : Path(".");
}

class PosixInput final : public InputFile {
public:
    explicit PosixInput(const Path& path)
        : fd_(Check(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC))) {}

    std::size_t Read(std::span<std::uint8_t> buffer) override {
        std::size_t total = 0;
        while (total < buffer.size()) {
            const std::size_t got = Uninterrupted(
                [&] { return ::read(fd_.get(), buffer.data() + total, buffer.size() - total); });
            if (got == 0) break;
            total += got;
        }
        return total;
    }
    std::uint64_t Position() override {
        return static_cast<std::uint64_t>(Check(::lseek(fd_.get(), 0, SEEK_CUR)));
    }
    std::uint64_t Size() override {
        struct stat status {};
        Check(::fstat(fd_.get(), &status));
        return static_cast<std::uint64_t>(status.st_size);
    }
    void Seek(std::uint64_t offset) override {
        Check(::lseek(fd_.get(), static_cast<off_t>(offset), SEEK_SET));
    }
    std::uint64_t Names() override {
        struct stat status {};
        Check(::fstat(fd_.get(), &status));
        return static_cast<std::uint64_t>(status.st_nlink);
    }

private:
    UniqueFd fd_;
};

// What an open file owes as a Durable: syncfs flushes the whole file system that holds it.
template <class Base>
class DurableFd : public Base {
public:
    void Flush() override { Check(::fsync(fd_.get())); }
    std::optional<std::uint64_t> FileSystem() override {
        struct stat status {};
        Check(::fstat(fd_.get(), &status));
        return static_cast<std::uint64_t>(status.st_dev);
    }
    void FlushFileSystem() override { Check(::syncfs(fd_.get())); }

protected:
    UniqueFd fd_;
};

class PosixNewFile final : public DurableFd<NewFile> {
public:
    // mkstemp makes the file readable by its owner only: what it holds may be the plain text.
    PosixNewFile(const Path& target, const Path& like, bool replacing)
        : target_(target), like_(like), replacing_(replacing) {
        std::string pattern = (FolderOf(target) / ".ztrec-XXXXXX").native();
        fd_.reset(Check(::mkostemp(pattern.data(), O_CLOEXEC)));
        temporary_ = pattern;
    }
    ~PosixNewFile() override {
        if (committed_) return;
        fd_.reset();
        ::unlink(temporary_.c_str());
    }
    PosixNewFile(const PosixNewFile&) = delete;
    PosixNewFile& operator=(const PosixNewFile&) = delete;

    void Write(std::span<const std::uint8_t> bytes) override {
        WriteAllAt(fd_.get(), bytes, end_);
        end_ += static_cast<off_t>(bytes.size());
    }
    void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        WriteAllAt(fd_.get(), bytes, static_cast<off_t>(offset));
    }

    void Commit() override {
        TakeOver();
        Flush();
        Place();
        FlushFolderOf(target_);
    }

    // Owner, permissions and times of the file this one replaces. Only the superuser may give
    // a file away; anyone else keeps it, as the owner it would have had.
    void TakeOver() override {
        const struct stat like = StatOf(like_);
        if (::fchown(fd_.get(), like.st_uid, like.st_gid) != 0 && errno != EPERM) ThrowErrno();
        Check(::fchmod(fd_.get(), like.st_mode & kPermissionBits));
        const timespec times[2] = {like.st_atim, like.st_mtim};
        Check(::futimens(fd_.get(), times));
    }

    void Place() override {
        fd_.reset();
        // rename replaces the target in one step: at every instant its name holds the old
        // file or the new one, whole.
        if (replacing_)
            Check(::rename(temporary_.c_str(), target_.c_str()));
        else
            MoveWithoutReplacing();
        committed_ = true;
    }

private:
    // renameat2 refuses to replace; where the file system does not know it, a hard link does
    // the same, and the temporary name is removed after it.
    void MoveWithoutReplacing() {
        if (::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) == 0)
            return;
        if (errno == EEXIST) throw OutputTaken{};
        if (errno != EINVAL && errno != ENOSYS) ThrowErrno();
        if (::link(temporary_.c_str(), target_.c_str()) != 0) {
            if (errno == EEXIST) throw OutputTaken{};
            ThrowErrno();
        }
        Check(::unlink(temporary_.c_str()));
    }

    Path target_;
    Path like_;
    bool replacing_;
    Path temporary_;
    off_t end_ = 0;
    bool committed_ = false;
};

// The name itself is opened, never what a link there leads to, and it is removed by that name.
class PosixWipe final : public DurableFd<Wipe> {
public:
    explicit PosixWipe(const Path& path) : path_(path) {
        fd_.reset(Check(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC)));
        struct stat status {};
        Check(::fstat(fd_.get(), &status));
        // A name added since the file was read would lose its content too.
        if (!S_ISREG(status.st_mode) || status.st_nlink != 1) {
            errno = EMLINK;
            ThrowErrno();
        }
        const std::vector<std::uint8_t> zeros(kWipeBlock);
        for (off_t offset = 0; offset < status.st_size; offset += static_cast<off_t>(kWipeBlock)) {
            const auto length = std::min<off_t>(status.st_size - offset, static_cast<off_t>(kWipeBlock));
            WriteAllAt(fd_.get(), std::span(zeros).first(static_cast<std::size_t>(length)), offset);
        }
    }

    void Remove() override {
        fd_.reset();
        ztrec::Remove(path_);
    }

private:
    Path path_;
};

}  // namespace

Kind KindOf(const Path& path, bool followLinks) {
    struct stat status {};
    if ((followLinks ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status)) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return Kind::Missing;
        ThrowErrno();
    }
    if (S_ISREG(status.st_mode)) return Kind::File;
    if (S_ISDIR(status.st_mode)) return Kind::Folder;
    if (S_ISLNK(status.st_mode)) return Kind::Link;
    return Kind::Other;
}

std::vector<Path> ListFolder(const Path& folder) {
    std::vector<Path> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) entries.push_back(entry.path());
    return entries;
}

void Remove(const Path& path) {
    Check(::unlink(path.c_str()));
}

// The folder's entry for a file just moved there is on the disk before anything else is
// removed. Some file systems cannot flush a folder; theirs is written with the file.
void FlushFolderOf(const Path& file) {
    const UniqueFd fd(Check(::open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
    if (::fsync(fd.get()) != 0 && errno != EINVAL) ThrowErrno();
}

std::unique_ptr<Wipe> Overwrite(const Path& path) {
    return std::make_unique<PosixWipe>(path);
}

std::unique_ptr<InputFile> OpenInput(const Path& path) {
    return std::make_unique<PosixInput>(path);
}

std::unique_ptr<NewFile> CreateBeside(const Path& target, const Path& like) {
    return std::make_unique<PosixNewFile>(target, like, false);
}

std::unique_ptr<NewFile> CreateReplacement(const Path& path) {
    return std::make_unique<PosixNewFile>(path, path, true);
}

}  // namespace ztrec
