#include "cli/Terminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <iterator>
#include <system_error>

#include "cli/Descriptors.h"

namespace cli {

namespace {

// What a signal handler needs to give the terminal its echo back. Only one
// prompt is ever open at a time.
volatile sig_atomic_t gTerminal = -1;
struct termios gSaved;

// Not SIGTSTP: the shell restores the terminal of a stopped job itself.
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction gPrevious[std::size(kSignals)];

void RestoreAndRaise(int signal) {
    if (gTerminal >= 0) {
        ::tcsetattr(gTerminal, TCSAFLUSH, &gSaved);
        const char newline = '\n';
        [[maybe_unused]] ssize_t ignored = ::write(gTerminal, &newline, 1);
    }
    // The handler that was there before (the default action, or the removal
    // of a temporary file) takes the signal once this one returns.
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        if (kSignals[i] == signal) ::sigaction(signal, &gPrevious[i], nullptr);
    }
    ::raise(signal);
}

// Echo off for the life of the object.
class HiddenInput {
public:
    explicit HiddenInput(int fd) : fd_(fd) {
        if (::tcgetattr(fd, &gSaved) != 0) return;
        struct termios quiet = gSaved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL | ICANON;
        gTerminal = fd;
        struct sigaction restore {};
        restore.sa_handler = RestoreAndRaise;
        ::sigemptyset(&restore.sa_mask);
        for (std::size_t i = 0; i < std::size(kSignals); ++i) {
            ::sigaction(kSignals[i], &restore, &gPrevious[i]);
        }
        active_ = ::tcsetattr(fd, TCSAFLUSH, &quiet) == 0;
    }
    ~HiddenInput() {
        if (gTerminal < 0) return;
        ::tcsetattr(fd_, TCSAFLUSH, &gSaved);
        gTerminal = -1;
        // The handlers as they were, flags included.
        for (std::size_t i = 0; i < std::size(kSignals); ++i) {
            ::sigaction(kSignals[i], &gPrevious[i], nullptr);
        }
    }
    HiddenInput(const HiddenInput&) = delete;
    HiddenInput& operator=(const HiddenInput&) = delete;

    bool Active() const { return active_; }

private:
    int fd_;
    bool active_ = false;
};

}  // namespace

TerminalAnswer AskHidden(const char* prompt, std::string& line, std::size_t maxLength,
                         std::string& reason) {
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return TerminalAnswer::NoTerminal;
    if (!IsTerminal(fd)) {
        ::close(fd);
        return TerminalAnswer::NoTerminal;
    }
    std::error_code ec;
    {
        HiddenInput hidden(fd);
        if (!hidden.Active()) {
            ec = std::error_code(errno, std::generic_category());
        } else {
            ec = WriteAll(fd, prompt, std::strlen(prompt));
            if (!ec) ec = ReadLine(fd, line, maxLength);
        }
    }
    ::close(fd);
    if (ec) {
        reason = ec == std::errc::value_too_large ? "the password is too long" : ec.message();
        return TerminalAnswer::Failed;
    }
    return TerminalAnswer::Read;
}

}  // namespace cli
