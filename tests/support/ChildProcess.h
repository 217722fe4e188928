#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Built programs run as child processes: fork and exec with pipes, no Qt.
namespace testsupport {

struct Launch {
    std::vector<std::string> args;  // after the program's name
    std::filesystem::path folder;   // working folder; the current one when empty
    // Variables set in the child's environment, replacing any of the same name.
    std::vector<std::pair<std::string, std::string>> environment;
    std::vector<std::string> removed;  // variables taken out of the child's environment
    std::string descriptor3;           // when not empty, readable on descriptor 3
    bool terminal = false;  // give the child a pseudo-terminal as its controlling terminal
    // With a terminal: run the program as a shell's foreground job, which the
    // shell puts back in the foreground ("fg") as soon as it stops, with the
    // terminal's settings as they were before the job started.
    bool job = false;
    bool unprivileged = false;  // when run as root, the child runs as user "nobody"
    bool outputClosed = false;  // nobody reads standard output: writes to it fail
};

struct Result {
    int status = -1;  // the exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
};

// A program started without a controlling terminal unless a pseudo-terminal
// is asked for, whose output is collected.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const Launch& launch);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }

    // The pseudo-terminal's side of the user: waits until the terminal shows
    // `text` (true) or the time is up (false), and types a line (or, without
    // `enter`, just the keys).
    bool WaitForTerminal(const std::string& text,
                         std::chrono::milliseconds limit = std::chrono::seconds(20));
    void Type(const std::string& line, bool enter = true);
    // Everything the child wrote to its terminal so far.
    const std::string& TerminalOutput() const { return terminalOut_; }

    // Writes `data` to standard input and keeps it open (the child must be
    // reading it, or writing its output somewhere other than a pipe).
    void Feed(const std::string& data);

    // Writes `input` to standard input, closes it and waits for the end,
    // collecting standard output and error meanwhile. A child still running
    // after the time limit is killed and the result's status is -1.
    Result Finish(const std::string& input = {},
                  std::chrono::milliseconds limit = std::chrono::seconds(60));
    // Closes standard input and waits for the end like Finish, but a child
    // still running after the time limit is left running: no result then,
    // and the output so far is kept for the next call.
    std::optional<Result> Wait(std::chrono::milliseconds limit);

private:
    void DrainTerminal(int timeoutMs);
    // Feeds `input` and collects output until both outputs are closed (true)
    // or the time is up (false).
    bool Collect(const std::string& input, std::chrono::steady_clock::time_point end);
    Result Reap();

    pid_t pid_ = -1;
    int in_ = -1, out_ = -1, err_ = -1, master_ = -1;
    std::string terminalOut_;
    Result collected_;
};

// Starts, feeds `input` and finishes in one call.
Result Run(const std::string& program, const Launch& launch, const std::string& input = {});

// Starts `command` (the program, then its arguments) sharing this process's
// descriptors, and returns its process id.
pid_t Start(const std::vector<std::string>& command);

// Waits for a started child to end and returns its wait status; when
// `peakMiB` is given, it receives the child's peak resident size in MiB.
int WaitFor(pid_t pid, double* peakMiB = nullptr);

}  // namespace testsupport
