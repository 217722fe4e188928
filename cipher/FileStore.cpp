#include "cipher/FileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace filestore {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

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

std::error_code ReadWholeFile(const std::filesystem::path& path, ByteArray& bytes,
                              std::size_t spare, std::uint64_t maxSize) {
    // Non-blocking, so that a pipe put in the file's place cannot stall the
    // open; only a regular file is read.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) return LastError();
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) return LastError();
    if (S_ISDIR(st.st_mode)) return std::make_error_code(std::errc::is_a_directory);
    if (!S_ISREG(st.st_mode)) return std::make_error_code(std::errc::invalid_argument);
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size > maxSize) return std::make_error_code(std::errc::file_too_large);

    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(size) + spare);
    bytes.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    // The file changed length while it was read: refuse rather than guess.
    if (done != bytes.size()) return std::make_error_code(std::errc::io_error);
    return {};
}

std::error_code WriteFileAtomically(const std::filesystem::path& link, const std::uint8_t* data,
                                    std::size_t size) {
    // A symbolic link keeps pointing where it did: its target is replaced.
    std::error_code ec;
    const bool isLink = std::filesystem::is_symlink(std::filesystem::symlink_status(link, ec));
    ec.clear();  // a destination that does not exist yet is no error
    const std::filesystem::path path = isLink ? std::filesystem::weakly_canonical(link, ec) : link;
    if (ec) return ec;
    const std::filesystem::path folder = path.parent_path();
    std::string tempName = (folder / kTempPrefix).string() + "XXXXXX";
    Descriptor fd(::mkstemp(tempName.data()));  // created with owner-only permissions
    if (fd.get() < 0) return LastError();
    const mode_t mode = TargetMode(path);

    ec = WriteAll(fd.get(), data, size);
    if (!ec && ::fsync(fd.get()) != 0) ec = LastError();
    if (!ec && ::rename(tempName.c_str(), path.c_str()) != 0) ec = LastError();
    if (ec) {
        ::unlink(tempName.c_str());
        return ec;
    }
    // The new content is complete and on disk under its name: what remains
    // cannot undo that, so its failures are not reported. The permissions
    // are widened only now, so a leftover temporary file is never readable
    // by others.
    ::fchmod(fd.get(), mode);
    SyncFolder(folder);
    return {};
}

}  // namespace filestore
