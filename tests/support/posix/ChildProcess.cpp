#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace testsupport {

namespace {

void Pipe(int fds[2]) {
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// A job-control shell in miniature, in the session leader: the program runs
// in a process group of its own in the terminal's foreground. When it stops,
// the terminal gets the shell's settings back and the job is continued in
// the foreground at once. Ends with the job's exit status.
void RunAsJob(int tty) {
    struct termios shell;
    if (::tcgetattr(tty, &shell) != 0) ::_exit(124);
    ::signal(SIGTTOU, SIG_IGN);
    const pid_t job = ::fork();
    if (job < 0) ::_exit(125);
    if (job == 0) {
        ::setpgid(0, 0);
        ::tcsetpgrp(tty, ::getpgrp());
        ::signal(SIGTTOU, SIG_DFL);
        return;  // on to exec
    }
    ::setpgid(job, job);
    int status = 0;
    while (::waitpid(job, &status, WUNTRACED) == job && WIFSTOPPED(status)) {
        ::tcsetattr(tty, TCSADRAIN, &shell);
        ::tcsetpgrp(tty, job);
        ::kill(-job, SIGCONT);
    }
    ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : 126);
}

// In the child, between fork and exec: only async-signal-safe calls.
[[noreturn]] void StartChild(const Launch& launch, int in, int out, int err, int extra,
                             const char* terminal, char** argv, char** envp) {
    ::setsid();
    if (terminal != nullptr) {
        const int tty = ::open(terminal, O_RDWR);  // becomes the controlling terminal
        if (tty < 0) ::_exit(120);
        if (launch.job) RunAsJob(tty);
        ::close(tty);
    }
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (extra >= 0) ::dup2(extra, 3);
    if (!launch.folder.empty() && ::chdir(launch.folder.c_str()) != 0) ::_exit(121);
    if (launch.unprivileged && ::geteuid() == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(122);
    }
    ::execve(argv[0], argv, envp);
    ::_exit(123);
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const Launch& launch) {
    // A child that ends early must not take the test with it.
    ::signal(SIGPIPE, SIG_IGN);
    int in[2], out[2], err[2], extra[2] = {-1, -1};
    Pipe(in);
    Pipe(out);
    Pipe(err);
    if (!launch.descriptor3.empty()) Pipe(extra);
    std::string terminal;
    if (launch.terminal) {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
            throw std::runtime_error("no pseudo-terminal");
        }
        terminal = ::ptsname(master_);
    }

    std::vector<std::string> args{program};
    args.insert(args.end(), launch.args.begin(), launch.args.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e), name = entry.substr(0, entry.find('='));
        const auto set = [&name](const auto& variable) { return variable.first == name; };
        if (std::count(launch.removed.begin(), launch.removed.end(), name) == 0 &&
            std::none_of(launch.environment.begin(), launch.environment.end(), set)) {
            env.push_back(entry);
        }
    }
    for (const auto& [name, value] : launch.environment) env.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        StartChild(launch, in[0], out[1], err[1], extra[0],
                   launch.terminal ? terminal.c_str() : nullptr, argv.data(), envp.data());
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    in_ = in[1];
    out_ = out[0];
    if (launch.outputClosed) CloseIfOpen(out_);
    err_ = err[0];
    if (extra[0] >= 0) {
        ::close(extra[0]);
        const std::string& text = launch.descriptor3;
        // A child that refuses its files before it asks for the password
        // may be gone before it reads it.
        if (::write(extra[1], text.data(), text.size()) != static_cast<ssize_t>(text.size()) &&
            errno != EPIPE) {
            throw std::runtime_error("cannot feed descriptor 3");
        }
        ::close(extra[1]);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    CloseIfOpen(in_);
    CloseIfOpen(out_);
    CloseIfOpen(err_);
    CloseIfOpen(master_);
}

void ChildProcess::DrainTerminal(int timeoutMs) {
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return;
    char buffer[4096];
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n > 0) terminalOut_.append(buffer, static_cast<std::size_t>(n));
}

bool ChildProcess::WaitForTerminal(const std::string& text, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (terminalOut_.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= end) return false;
        DrainTerminal(50);
    }
    return true;
}

void ChildProcess::Type(const std::string& line, bool enter) {
    const std::string typed = enter ? line + "\n" : line;
    if (::write(master_, typed.data(), typed.size()) != static_cast<ssize_t>(typed.size())) {
        throw std::runtime_error("cannot type on the terminal");
    }
}

void ChildProcess::Feed(const std::string& data) {
    for (std::size_t written = 0; written < data.size();) {
        pollfd out = {in_, POLLOUT, 0};
        if (::poll(&out, 1, 1000) < 0 && errno != EINTR) return;
        const ssize_t n = ::write(in_, data.data() + written, data.size() - written);
        if (n < 0 && errno != EAGAIN && errno != EINTR) return;
        if (n > 0) written += static_cast<std::size_t>(n);
    }
}

Result ChildProcess::Finish(const std::string& input, std::chrono::milliseconds limit) {
    if (!Collect(input, std::chrono::steady_clock::now() + limit)) ::kill(pid_, SIGKILL);
    return Reap();
}

std::optional<Result> ChildProcess::Wait(std::chrono::milliseconds limit) {
    if (!Collect({}, std::chrono::steady_clock::now() + limit)) return std::nullopt;
    return Reap();
}

bool ChildProcess::Collect(const std::string& input, std::chrono::steady_clock::time_point end) {
    std::size_t written = 0;
    if (input.empty()) CloseIfOpen(in_);
    while (out_ >= 0 || err_ >= 0) {
        if (std::chrono::steady_clock::now() >= end) return false;
        pollfd fds[4] = {
            {in_, POLLOUT, 0}, {out_, POLLIN, 0}, {err_, POLLIN, 0}, {master_, POLLIN, 0}};
        if (::poll(fds, 4, 100) < 0 && errno != EINTR) break;
        if (in_ >= 0 && (fds[0].revents & (POLLOUT | POLLERR))) {
            const ssize_t n = ::write(in_, input.data() + written, input.size() - written);
            if (n > 0) written += static_cast<std::size_t>(n);
            if (n < 0 || written == input.size()) CloseIfOpen(in_);
        }
        int* readers[2] = {&out_, &err_};
        std::string* sinks[2] = {&collected_.out, &collected_.err};
        for (int k = 0; k < 2; ++k) {
            if (*readers[k] < 0 || !(fds[k + 1].revents & (POLLIN | POLLHUP))) continue;
            char buffer[65536];
            const ssize_t n = ::read(*readers[k], buffer, sizeof buffer);
            if (n > 0) sinks[k]->append(buffer, static_cast<std::size_t>(n));
            if (n <= 0) CloseIfOpen(*readers[k]);
        }
        if (master_ >= 0 && (fds[3].revents & POLLIN)) DrainTerminal(0);
    }
    return true;
}

Result ChildProcess::Reap() {
    CloseIfOpen(in_);
    Result result = std::exchange(collected_, {});
    if (pid_ > 0) {
        const int status = WaitFor(pid_);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    pid_ = -1;
    return result;
}

Result Run(const std::string& program, const Launch& launch, const std::string& input) {
    ChildProcess process(program, launch);
    return process.Finish(input);
}

pid_t Start(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

int WaitFor(pid_t pid, double* peakMiB) {
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    if (peakMiB) *peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return status;
}

}  // namespace testsupport
