#include "fileio/FileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "fileio/Descriptors.h"
#include "fileio/PendingName.h"
#include "fileio/SystemRandom.h"

namespace fileio {

namespace {

// Symbolic links followed at most before giving up, as the kernel does.
constexpr int kMaxLinks = 40;
// Written data handed to the disk in steps of this size while the file grows,
// so the final flush has little left to wait for.
constexpr std::uint64_t kFlushStep = 8 << 20;

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::error_code Error(std::errc code) {
    return std::make_error_code(code);
}

using fileio::WriteAll;

std::int64_t ModifiedAt(const struct stat& st) {
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// The last file put in place by PendingFile::Commit whose folder could not
// be flushed, and why: its name may not survive a crash.
struct UnflushedName {
    std::uint64_t device = 0, inode = 0;
    int error = 0;
} unflushedName;

// Renames `from` to `to` in `folder` unless `to` exists (EEXIST then). Where
// the file system has no rename that refuses to replace (NFS, many FUSE file
// systems and older CIFS answer EINVAL), a hard link under the new name
// followed by the removal of the old one does the same, and is as atomic;
// where there are no hard links either, a rename after a check that the
// name is free is the best there is.
int RenameNoReplace(int folder, const char* from, const char* to) {
    if (::renameat2(folder, from, folder, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return -1;
    if (::linkat(folder, from, folder, to, 0) == 0) {
        if (::unlinkat(folder, from, 0) == 0) return 0;
        const int error = errno;
        ::unlinkat(folder, to, 0);
        errno = error;
        return -1;
    }
    if (errno != EPERM && errno != ENOSYS && errno != EOPNOTSUPP) return -1;
    struct stat st;
    if (::fstatat(folder, to, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    if (errno != ENOENT) return -1;
    return ::renameat(folder, from, folder, to);
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// A fresh name for a temporary file: the prefix and six random letters.
std::string TemporaryName(const char* prefix = kTempPrefix) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uint64_t random = (std::uint64_t{SystemRandom32()} << 32) | SystemRandom32();
    std::string name = prefix;
    for (int i = 0; i < 6; ++i, random /= sizeof letters - 1) {
        name += letters[random % (sizeof letters - 1)];
    }
    return name;
}

std::string FolderOf(const std::filesystem::path& path) {
    const std::string folder = path.parent_path().string();
    return folder.empty() ? std::string(".") : folder;
}

// The kernel's protected-symlinks rule: in a sticky folder that everyone may
// write to, a link is followed only when it belongs to us or to the folder's
// owner.
bool TrustedLink(const struct stat& folder, const struct stat& link) {
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// A file counts as read-only when it could be replaced (its folder is
// writable) but may not be written itself.
bool Writable(int folder, const std::string& name, const struct stat& st) {
    if (::faccessat(folder, ".", W_OK, AT_EACCESS) != 0) return true;  // refused later, and why
    if (::faccessat(folder, name.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES) return false;
    // The superuser may write anything; a file nobody may write to is still
    // meant to stay as it is.
    return ::geteuid() != 0 || (st.st_mode & 0222) != 0;
}

}  // namespace

std::filesystem::path ToPath(const std::u16string& text, std::error_code& ec) {
    ec.clear();
    try {
        return std::filesystem::path(text);
    } catch (const std::exception&) {
        ec = std::make_error_code(std::errc::illegal_byte_sequence);
        return {};
    }
}

bool IsRegularFile(const std::u16string& text) {
    if (text.empty()) return false;
    std::error_code ec;
    const std::filesystem::path path = ToPath(text, ec);
    if (ec) return false;
    if (!std::filesystem::is_regular_file(path, ec) || ec) return false;
    return std::filesystem::file_size(path, ec) != static_cast<std::uintmax_t>(-1) && !ec;
}

bool IsFolder(const std::u16string& text) {
    if (text.empty()) return false;
    std::error_code ec;
    const std::filesystem::path path = ToPath(text, ec);
    return !ec && std::filesystem::is_directory(path, ec) && !ec;
}

// --- SourceFile --------------------------------------------------------------

SourceFile::~SourceFile() {
    CloseIfOpen(fd_);
}

std::error_code SourceFile::Open(const std::filesystem::path& path) {
    return Adopt(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
}

std::error_code SourceFile::Adopt(int fd) {
    CloseIfOpen(fd_);
    fd_ = fd;
    if (fd_ < 0) return LastError();
    struct stat st;
    if (::fstat(fd_, &st) != 0) return LastError();
    if (S_ISDIR(st.st_mode)) return Error(std::errc::is_a_directory);
    if (!S_ISREG(st.st_mode)) return Error(std::errc::invalid_argument);
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    size_ = static_cast<std::uint64_t>(st.st_size);
    device_ = st.st_dev;
    inode_ = st.st_ino;
    modified_ = ModifiedAt(st);
    return {};
}

std::error_code SourceFile::ConfirmUnchanged() const {
    std::uint8_t beyond;
    ssize_t n;
    do {
        n = ::pread(fd_, &beyond, 1, static_cast<off_t>(size_));
    } while (n < 0 && errno == EINTR);
    if (n < 0) return LastError();
    struct stat st;
    if (::fstat(fd_, &st) != 0) return LastError();
    if (n > 0 || static_cast<std::uint64_t>(st.st_size) != size_ || ModifiedAt(st) != modified_) {
        return SourceChanged();
    }
    return {};
}

std::error_code SourceFile::MakeDurable(const std::filesystem::path& path) const {
    if (::fsync(fd_) != 0) return LastError();
    // The name that holds the file, at the end of any symbolic links.
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(path, ec);
    if (ec) return ec;
    const int folder = ::open(FolderOf(real).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return LastError();
    struct stat st;
    if (::fstatat(folder, real.filename().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        ec = LastError();
    } else if (st.st_dev != device_ || st.st_ino != inode_) {
        ec = Error(std::errc::no_such_file_or_directory);
    } else if (::fsync(folder) != 0) {
        ec = LastError();
    } else if (unflushedName.error != 0 && unflushedName.device == device_ &&
               unflushedName.inode == inode_) {
        ec = {unflushedName.error, std::generic_category()};
    }
    ::close(folder);
    return ec;
}

std::error_code SourceFile::ReadExactly(std::uint8_t* data, std::size_t size) {
    for (std::size_t done = 0, count = 0; done < size; done += count) {
        if (const std::error_code ec = fileio::ReadSome(fd_, data + done, size - done, count)) {
            return ec;
        }
        if (count == 0) return SourceChanged();  // the file got shorter
    }
    return {};
}

std::error_code SourceFile::Rewind() {
    return ::lseek(fd_, 0, SEEK_SET) < 0 ? LastError() : std::error_code();
}

void SourceFile::Close() {
    CloseIfOpen(fd_);
}

// --- PendingFile -------------------------------------------------------------

void PendingFile::Discard() {
    const TerminationHold hold;
    if (!tempName_.empty()) {
        ::unlinkat(folder_, tempName_.c_str(), 0);
        ClearPendingName();
        tempName_.clear();
    }
    CloseIfOpen(fd_);
    CloseIfOpen(folder_);
}

// Follows the destination through symbolic links to the file that will be
// replaced (or created), checking each link on the way.
std::error_code PendingFile::Resolve(std::filesystem::path path, Refusal& refusal) {
    for (int links = 0; links <= kMaxLinks; ++links) {
        CloseIfOpen(folder_);
        folder_ = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder_ < 0) return LastError();
        target_ = path.filename().string();
        struct stat st;
        if (target_.empty()) {
            // A name ending in a separator can only be a folder.
            return Error(::fstat(folder_, &st) == 0 ? std::errc::is_a_directory
                                                    : std::errc::no_such_file_or_directory);
        }
        if (::fstatat(folder_, target_.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) return LastError();
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode_ = 0666 & ~mask;
            return {};
        }
        if (S_ISREG(st.st_mode)) {
            if (!Writable(folder_, target_, st)) refusal = Refusal::ReadOnly;
            // The permission bits only: a set-user-ID or set-group-ID bit
            // is not handed on to new content.
            mode_ = st.st_mode & 0777;
            return {};
        }
        if (S_ISDIR(st.st_mode)) return Error(std::errc::is_a_directory);
        if (!S_ISLNK(st.st_mode)) {
            refusal = Refusal::NotAFile;
            return {};
        }
        struct stat folderStat;
        if (::fstat(folder_, &folderStat) != 0) return LastError();
        if (!TrustedLink(folderStat, st)) {
            refusal = Refusal::UntrustedLink;
            return {};
        }
        char text[4096];
        const ssize_t n = ::readlinkat(folder_, target_.c_str(), text, sizeof text - 1);
        if (n < 0) return LastError();
        const std::filesystem::path next(std::string(text, static_cast<std::size_t>(n)));
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return Error(std::errc::too_many_symbolic_link_levels);
}

std::error_code PendingFile::MakeTemporary() {
    // Owner-only until the content is in place.
    fd_ = ::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ >= 0) return {};
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return LastError();
    // This file system has no unnamed files: a named one it is.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = TemporaryName();
        // Created and registered in one step that no termination cuts.
        const TerminationHold hold;
        fd_ = ::openat(folder_, name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (fd_ >= 0) {
            tempName_ = name;
            RegisterPendingName(folder_, tempName_.c_str());
            return {};
        }
        if (errno != EEXIST) return LastError();
    }
    return Error(std::errc::file_exists);
}

std::error_code PendingFile::Write(const std::uint8_t* data, std::size_t size) {
    if (std::error_code ec = WriteAll(fd_, data, size)) return ec;
    written_ += size;
    if (written_ - flushedTo_ >= kFlushStep) {
        ::sync_file_range(fd_, static_cast<off_t>(flushedTo_),
                          static_cast<off_t>(written_ - flushedTo_), SYNC_FILE_RANGE_WRITE);
        flushedTo_ = written_;
    }
    return {};
}

// Gives an unnamed temporary file a temporary name in the destination's
// folder, so that it can be renamed over the destination.
std::error_code PendingFile::NameTemporary() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = TemporaryName();
        // Registered only once the name is ours (a name that was taken is
        // someone else's file), in one step that no termination cuts.
        const TerminationHold hold;
        int done = ::linkat(AT_FDCWD, self.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW);
        if (done != 0 && errno == ENOENT) {
            done = ::linkat(fd_, "", folder_, name.c_str(), AT_EMPTY_PATH);
        }
        if (done == 0) {
            tempName_ = name;
            RegisterPendingName(folder_, tempName_.c_str());
            return {};
        }
        if (errno != EEXIST) return LastError();
    }
    return Error(std::errc::file_exists);
}

std::error_code PendingFile::Commit() {
    if (::fsync(fd_) != 0) return LastError();
    if (tempName_.empty()) {
        if (std::error_code ec = NameTemporary()) return ec;
    }
    // Widened only once the content is complete, so a leftover temporary file
    // is never readable by others.
    ::fchmod(fd_, mode_);
    {
        // The temporary name stops being registered as it stops existing.
        const TerminationHold hold;
        const int renamed = keepExisting_
                                ? RenameNoReplace(folder_, tempName_.c_str(), target_.c_str())
                                : ::renameat(folder_, tempName_.c_str(), folder_, target_.c_str());
        if (renamed != 0) {
            const std::error_code ec = LastError();
            ::fchmod(fd_, 0600);
            return ec;
        }
        tempName_.clear();
        ClearPendingName();
    }
    // The new content is complete and on disk under its name: what remains
    // cannot undo that. A name that may not survive a crash is remembered
    // for MakeDurable.
    struct stat st;
    if (::fsync(folder_) != 0) {
        const int error = errno;
        if (::fstat(fd_, &st) == 0) unflushedName = {st.st_dev, st.st_ino, error};
    } else if (::fstat(fd_, &st) == 0 && unflushedName.device == st.st_dev &&
               unflushedName.inode == st.st_ino) {
        unflushedName = {};
    }
    Discard();
    return {};
}

// --- WipeTarget ----------------------------------------------------------------

void WipeTarget::CloseFolder() {
    CloseIfOpen(folder_);
}

std::error_code WipeTarget::Open(const std::filesystem::path& path, Refusal& refusal) {
    refusal = Refusal::None;
    folderPath_ = FolderOf(path);
    folder_ = ::open(folderPath_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0) return LastError();
    name_ = path.filename().string();
    const int fd =
        ::openat(folder_, name_.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0 && errno == ELOOP) {
        refusal = Refusal::SymbolicLink;
        return {};
    }
    const std::error_code ec = content_.Adopt(fd);
    if (ec == std::errc::invalid_argument || ec == std::errc::is_a_directory) {
        refusal = Refusal::NotAFile;
        return {};
    }
    // Another name of the same file would hold the ciphertext afterwards.
    struct stat st;
    if (!ec && ::fstat(content_.fd_, &st) == 0 && st.st_nlink > 1) refusal = Refusal::OtherNames;
    return ec;
}

bool WipeTarget::NameIsOurs(const std::string& name) const {
    struct stat st;
    return ::fstatat(folder_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
           st.st_dev == content_.device_ && st.st_ino == content_.inode_;
}

std::error_code WipeTarget::MoveAside() {
    if (!NameIsOurs(name_)) return Error(std::errc::no_such_file_or_directory);
    // From the rename until the file is deleted or has its name back, a
    // request to end waits: the original is never left hidden by a signal,
    // nor deleted before it was overwritten and flushed.
    hold_.emplace();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string aside = TemporaryName(kWipePrefix);
        if (RenameNoReplace(folder_, name_.c_str(), aside.c_str()) == 0) {
            asideName_ = aside;
            // Swapped in the instant between the check and the rename: put
            // the stranger back and leave everything alone.
            if (!NameIsOurs(asideName_)) {
                RestoreName();
                return Error(std::errc::no_such_file_or_directory);
            }
            return {};
        }
        if (errno != EEXIST) break;
    }
    const std::error_code ec = errno == EEXIST ? Error(std::errc::file_exists) : LastError();
    hold_.reset();
    return ec;
}

std::error_code WipeTarget::RestoreName() {
    if (asideName_.empty()) return {};
    if (RenameNoReplace(folder_, asideName_.c_str(), name_.c_str()) != 0) return LastError();
    ::fsync(folder_);
    asideName_.clear();
    hold_.reset();
    return {};
}

std::error_code WipeTarget::WriteInPlace(const std::uint8_t* data, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t w =
            ::pwrite(content_.fd_, data + done, size - done, static_cast<off_t>(overwritten_));
        if (w < 0 && errno == EINTR) continue;
        if (w < 0) return LastError();
        done += static_cast<std::size_t>(w);
        overwritten_ += static_cast<std::uint64_t>(w);
    }
    return {};
}

std::error_code WipeTarget::FlushContent() {
    return ::fsync(content_.fd_) == 0 ? std::error_code{} : LastError();
}

std::error_code WipeTarget::Remove() {
    if (!flushed_) return Error(std::errc::operation_not_permitted);
    const std::string& name = asideName_.empty() ? name_ : asideName_;
    if (!NameIsOurs(name)) return Error(std::errc::no_such_file_or_directory);
    if (::unlinkat(folder_, name.c_str(), 0) != 0) return LastError();
    asideName_.clear();
    ::fsync(folder_);
    hold_.reset();
    return {};
}

std::filesystem::path WipeTarget::AsidePath() const {
    return asideName_.empty() ? std::filesystem::path() : folderPath_ / asideName_;
}

}  // namespace fileio
