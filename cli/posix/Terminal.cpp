#include "cli/Terminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iterator>
#include <system_error>

#include "cli/Descriptors.h"

namespace cli {

namespace {

// What a signal handler needs to give the terminal its echo back, or to take
// it away again. Only one prompt is ever open at a time.
volatile sig_atomic_t gTerminal = -1;
volatile sig_atomic_t gStopping = 0;
struct termios gSaved;
struct termios gQuiet;
const char* gPrompt = "";
std::size_t gPromptLength = 0;

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGCONT};
struct sigaction gPrevious[std::size(kSignals)];

void Install(int signal, void (*handler)(int), struct sigaction* previous) {
    struct sigaction action {};
    action.sa_handler = handler;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, previous);
}

void WriteToTerminal(const char* text, std::size_t length) {
    [[maybe_unused]] ssize_t ignored = ::write(gTerminal, text, length);
}

void RestoreTerminal() {
    ::tcsetattr(gTerminal, TCSAFLUSH, &gSaved);
    WriteToTerminal("\n", 1);
}

// Echo off again and the prompt once more: what was typed before is gone.
void QuietAgain() {
    ::tcsetattr(gTerminal, TCSAFLUSH, &gQuiet);
    WriteToTerminal(gPrompt, gPromptLength);
}

void RestoreAndRaise(int signal) {
    if (gTerminal >= 0) RestoreTerminal();
    // The handler that was there before (the default action, or the removal
    // of a temporary file) takes the signal once this one returns.
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        if (kSignals[i] == signal) ::sigaction(signal, &gPrevious[i], nullptr);
    }
    ::raise(signal);
}

// Ctrl-Z: the program stops with the terminal as it was, so that the shell
// and whatever runs meanwhile see their echo; once continued it asks again.
void StopWithEcho(int) {
    const int savedErrno = errno;
    if (gTerminal >= 0) RestoreTerminal();
    gStopping = 1;
    Install(SIGTSTP, SIG_DFL, nullptr);
    sigset_t stop;
    ::sigemptyset(&stop);
    ::sigaddset(&stop, SIGTSTP);
    ::raise(SIGTSTP);
    ::sigprocmask(SIG_UNBLOCK, &stop, nullptr);  // stops here until continued
    Install(SIGTSTP, StopWithEcho, nullptr);
    gStopping = 0;
    if (gTerminal >= 0) QuietAgain();
    errno = savedErrno;
}

// Continued after a stop that the program did not see coming (SIGSTOP, or
// SIGTTIN while in the background): the shell may have turned echo back on.
void Continued(int) {
    if (gTerminal < 0 || gStopping) return;
    const int savedErrno = errno;
    QuietAgain();
    errno = savedErrno;
}

void (*HandlerFor(int signal))(int) {
    if (signal == SIGTSTP) return StopWithEcho;
    if (signal == SIGCONT) return Continued;
    return RestoreAndRaise;
}

// Echo off for the life of the object.
class HiddenInput {
public:
    HiddenInput(int fd, const char* prompt) : fd_(fd) {
        if (::tcgetattr(fd, &gSaved) != 0) return;
        gQuiet = gSaved;
        gQuiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        gQuiet.c_lflag |= ECHONL | ICANON;
        gPrompt = prompt;
        gPromptLength = std::strlen(prompt);
        gTerminal = fd;
        for (std::size_t i = 0; i < std::size(kSignals); ++i) {
            Install(kSignals[i], HandlerFor(kSignals[i]), &gPrevious[i]);
            // A signal the program ignores (nohup, a shell without job
            // control) stays ignored.
            if (gPrevious[i].sa_handler == SIG_IGN)
                ::sigaction(kSignals[i], &gPrevious[i], nullptr);
        }
        active_ = ::tcsetattr(fd, TCSAFLUSH, &gQuiet) == 0;
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
        HiddenInput hidden(fd, prompt);
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
