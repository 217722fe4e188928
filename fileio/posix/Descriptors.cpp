#include "fileio/Descriptors.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fileio/SecureZero.h"

namespace fileio {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// Moves the bytes to a larger buffer and wipes the old one.
void Grow(std::vector<std::uint8_t>& bytes, std::size_t used, std::size_t capacity) {
    std::vector<std::uint8_t> larger;
    larger.reserve(capacity);
    larger.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(used));
    Wipe(bytes);
    bytes.swap(larger);
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

std::error_code ReadFull(int fd, void* data, std::size_t size) {
    auto* p = static_cast<std::uint8_t*>(data);
    while (size > 0) {
        std::size_t n = 0;
        if (std::error_code ec = ReadSome(fd, p, size, n)) return ec;
        if (n == 0) return std::make_error_code(std::errc::io_error);  // the file got shorter
        p += n;
        size -= n;
    }
    return {};
}

std::error_code ReadAll(int fd, std::vector<std::uint8_t>& bytes, std::size_t spare,
                        std::uint64_t limit) {
    bytes.clear();
    struct stat st;
    std::size_t capacity = 64 * 1024;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
        static_cast<std::uint64_t>(st.st_size) <= limit) {
        capacity = static_cast<std::size_t>(st.st_size) + 1;
    }
    bytes.reserve(capacity + spare);
    // The vector is sized to its whole room once per growth and read into
    // from `used` on, so each byte is cleared at most once per doubling.
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.capacity() - spare) Grow(bytes, used, 2 * bytes.capacity());
        bytes.resize(bytes.capacity() - spare);
        std::size_t n = 0;
        std::error_code ec = ReadSome(fd, bytes.data() + used, bytes.size() - used, n);
        used += n;
        if (ec || n == 0) {
            bytes.resize(used);
            return ec;
        }
        if (used > limit) {
            bytes.resize(used);
            return std::make_error_code(std::errc::file_too_large);
        }
    }
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
