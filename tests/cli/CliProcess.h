#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// Runs the built quillbox-cli as a child process, without a controlling
// terminal unless a pseudo-terminal is asked for, and collects what it
// writes. No Qt: fork and exec with pipes.
namespace clitest {

struct Launch {
    std::vector<std::string> args;  // after the program's name
    std::filesystem::path folder;   // working folder; the current one when empty
    std::vector<std::pair<std::string, std::string>> environment;  // added variables
    std::string descriptor3;    // when not empty, readable on descriptor 3
    bool terminal = false;      // give the child a pseudo-terminal as its controlling terminal
    bool unprivileged = false;  // when run as root, the child runs as user "nobody"
    bool outputClosed = false;  // nobody reads standard output: writes to it fail
};

struct Result {
    int status = -1;  // the exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
};

class CliProcess {
public:
    explicit CliProcess(const Launch& launch);
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    pid_t Pid() const { return pid_; }

    // The pseudo-terminal's side of the user: waits until the terminal shows
    // `text` (true) or the time is up (false), and types a line.
    bool WaitForTerminal(const std::string& text,
                         std::chrono::milliseconds limit = std::chrono::seconds(20));
    void Type(const std::string& line);
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

private:
    void DrainTerminal(int timeoutMs);

    pid_t pid_ = -1;
    int in_ = -1, out_ = -1, err_ = -1, master_ = -1;
    std::string terminalOut_;
};

// Starts, feeds `input` and finishes in one call.
Result RunCli(const Launch& launch, const std::string& input = {});

// The path of the built program.
std::string CliPath();

}  // namespace clitest
