#include "fileio/Descriptors.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace fileio {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

}  // namespace

std::error_code ReadSome(int fd, void* data, std::size_t size, std::size_t& count) {
    ssize_t n;
    do {
        n = ::read(fd, data, size);
    } while (n < 0 && errno == EINTR);
    count = n > 0 ? static_cast<std::size_t>(n) : 0;
    return n < 0 ? LastError() : std::error_code();
}

bool RegularFileSize(int fd, std::uint64_t& size) {
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return false;
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

std::error_code WriteAll(int fd, const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return LastError();
        if (n == 0) return std::make_error_code(std::errc::io_error);
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return {};
}

}  // namespace fileio
