#include "cli/Descriptors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "fileio/Descriptors.h"

namespace cli {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

}  // namespace

bool IsTerminal(int fd) {
    return ::isatty(fd) == 1;
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

void WidenPipes() {
    constexpr int kPipeBytes = 1 << 20;
    for (int fd : {kStandardInput, kStandardOutput}) {
        struct stat status {};
        // Not being able to is no failure: the pipe works as it is.
        if (::fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode)) {
            ::fcntl(fd, F_SETPIPE_SZ, kPipeBytes);
        }
    }
}

}  // namespace cli
