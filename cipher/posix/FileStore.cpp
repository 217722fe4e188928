#include "cipher/FileStore.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace filestore {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::error_code WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return {};
}

// The permissions a newly created file would get, or those of the file that
// is being replaced.
mode_t TargetMode(const std::filesystem::path& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::filesystem::path ToPath(const std::u16string& text, std::error_code& ec) {
    ec.clear();
    try {
        return std::filesystem::path(text);
    } catch (const std::exception&) {
        ec = std::make_error_code(std::errc::invalid_argument);
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

SourceFile::~SourceFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::error_code SourceFile::Open(const std::filesystem::path& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) return LastError();
    struct stat st;
    if (::fstat(fd_, &st) != 0) return LastError();
    if (S_ISDIR(st.st_mode)) return std::make_error_code(std::errc::is_a_directory);
    if (!S_ISREG(st.st_mode)) return std::make_error_code(std::errc::invalid_argument);
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    size_ = static_cast<std::uint64_t>(st.st_size);
    return {};
}

std::error_code SourceFile::ReadAll(std::uint8_t* data) {
    std::size_t done = 0;
    const auto size = static_cast<std::size_t>(size_);
    while (done < size) {
        const ssize_t n = ::read(fd_, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    // The file changed length while it was read: refuse rather than guess.
    if (done != size) return std::make_error_code(std::errc::io_error);
    return {};
}

PendingFile::~PendingFile() {
    Unmap();
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(tempName_.c_str());
    }
}

void PendingFile::Unmap() {
    if (map_ != nullptr) ::munmap(map_, mapSize_);
    map_ = nullptr;
}

std::error_code PendingFile::Create(const std::filesystem::path& link) {
    std::error_code ec;
    const bool isLink = std::filesystem::is_symlink(std::filesystem::symlink_status(link, ec));
    ec.clear();  // a destination that does not exist yet is no error
    destination_ = isLink ? std::filesystem::weakly_canonical(link, ec) : link;
    if (ec) return ec;
    tempName_ = (destination_.parent_path() / kTempPrefix).string() + "XXXXXX";
    fd_ = ::mkstemp(tempName_.data());  // created with owner-only permissions
    return fd_ < 0 ? LastError() : std::error_code();
}

std::error_code PendingFile::Write(const std::uint8_t* data, std::size_t size) {
    return WriteAll(fd_, data, size);
}

std::uint8_t* PendingFile::Map(std::size_t size, std::error_code& ec) {
    ec.clear();
    if (size == 0) return nullptr;
    if (const int err = ::posix_fallocate(fd_, 0, static_cast<off_t>(size)); err != 0) {
        ec = {err, std::generic_category()};
        return nullptr;
    }
    void* map = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    if (map == MAP_FAILED) {
        ec = LastError();
        return nullptr;
    }
    map_ = map;
    mapSize_ = size;
    return static_cast<std::uint8_t*>(map);
}

std::error_code PendingFile::Commit() {
    if (map_ != nullptr && ::msync(map_, mapSize_, MS_SYNC) != 0) return LastError();
    Unmap();
    if (::fsync(fd_) != 0) return LastError();
    const mode_t mode = TargetMode(destination_);
    if (::rename(tempName_.c_str(), destination_.c_str()) != 0) return LastError();
    // The new content is complete and on disk under its name: what remains
    // cannot undo that, so its failures are not reported. The permissions
    // are widened only now, so a leftover temporary file is never readable
    // by others.
    ::fchmod(fd_, mode);
    ::close(fd_);
    fd_ = -1;
    SyncFolder(destination_.parent_path());
    return {};
}

std::error_code ReadWholeFile(const std::filesystem::path& path, ByteArray& bytes,
                              std::size_t spare, std::uint64_t maxSize) {
    SourceFile source;
    if (std::error_code ec = source.Open(path)) return ec;
    if (source.Size() > maxSize) return std::make_error_code(std::errc::file_too_large);
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(source.Size()) + spare);
    bytes.resize(static_cast<std::size_t>(source.Size()));
    return source.ReadAll(bytes.data());
}

std::error_code WriteFileAtomically(const std::filesystem::path& path, const std::uint8_t* data,
                                    std::size_t size) {
    PendingFile file;
    std::error_code ec = file.Create(path);
    if (!ec) ec = file.Write(data, size);
    if (!ec) ec = file.Commit();
    return ec;
}

std::error_code OverwriteInPlace(const std::filesystem::path& path, const std::uint8_t* data,
                                 std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return LastError();
    std::error_code ec = WriteAll(fd, data, size);
    if (!ec && ::fsync(fd) != 0) ec = LastError();
    ::close(fd);
    return ec;
}

}  // namespace filestore
