#include "fileio/Spool.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace fileio {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::string TemporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

}  // namespace

Spool::~Spool() {
    if (fd_ >= 0) ::close(fd_);
}

std::error_code Spool::Create() {
    const std::string folder = TemporaryFolder();
    fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd_ >= 0) return {};
    // No unnamed files here: a private name, gone again at once.
    std::string name = folder + "/.quillbox-spool-XXXXXX";
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) return LastError();
    ::unlink(name.c_str());
    return {};
}

std::error_code Spool::Rewind() {
    return ::lseek(fd_, 0, SEEK_SET) < 0 ? LastError() : std::error_code();
}

std::optional<std::uint64_t> RemainingInRegularFile(int fd) {
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    const off_t at = ::lseek(fd, 0, SEEK_CUR);
    if (at < 0 || at > st.st_size) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size - at);
}

}  // namespace fileio
