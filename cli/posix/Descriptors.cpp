#include "cli/Descriptors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>

#include "cipher/SecureZero.h"

namespace cli {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// read() that retries when a signal interrupts it.
ssize_t ReadSome(int fd, void* data, std::size_t size) {
    ssize_t n;
    do {
        n = ::read(fd, data, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

// Moves the bytes to a larger buffer and wipes the old one.
void Grow(std::vector<std::uint8_t>& bytes, std::size_t capacity) {
    std::vector<std::uint8_t> larger;
    larger.reserve(capacity);
    larger.assign(bytes.begin(), bytes.end());
    cipher::Wipe(bytes);
    bytes.swap(larger);
}

}  // namespace

bool IsTerminal(int fd) {
    return ::isatty(fd) == 1;
}

std::error_code ReadLine(int fd, std::string& line, std::size_t maxLength) {
    line.clear();
    char c;
    for (;;) {
        const ssize_t n = ReadSome(fd, &c, 1);
        if (n < 0) return LastError();
        if (n == 0 || c == '\n') return {};
        if (line.size() >= maxLength) {
            cipher::Wipe(line);
            return std::make_error_code(std::errc::value_too_large);
        }
        line += c;
    }
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
    for (;;) {
        if (bytes.size() == bytes.capacity() - spare) {
            Grow(bytes, 2 * bytes.capacity());
        }
        const std::size_t used = bytes.size();
        const std::size_t room = bytes.capacity() - spare - used;
        bytes.resize(used + room);
        const ssize_t n = ReadSome(fd, bytes.data() + used, room);
        bytes.resize(used + (n > 0 ? static_cast<std::size_t>(n) : 0));
        if (n < 0) return LastError();
        if (n == 0) return {};
        if (bytes.size() > limit) return std::make_error_code(std::errc::file_too_large);
    }
}

std::error_code WriteAll(int fd, const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return {};
}

int OpenPasswordFile(const std::string& path, std::error_code& ec) {
    ec.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        ec = LastError();
        return -1;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ec = LastError();
    } else if (S_ISDIR(st.st_mode)) {
        ec = std::make_error_code(std::errc::is_a_directory);
    } else if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode) && !S_ISSOCK(st.st_mode)) {
        ec = std::make_error_code(std::errc::invalid_argument);
    } else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ec = LastError();
    }
    if (ec) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void CloseDescriptor(int fd) {
    if (fd >= 0) ::close(fd);
}

bool DescriptorsReachProgram() {
    return true;
}

const char* PasswordOptions() {
    return "--password-fd, --password-file or --password-env";
}

void IgnoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace cli
