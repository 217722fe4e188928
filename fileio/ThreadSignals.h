#pragma once

namespace fileio {

// While it lives, the calling thread does not take the termination signals
// (SIGTERM, SIGINT and SIGHUP), and the threads it starts meanwhile never
// do: the signal that ends the program is then handled by a thread that
// works on the files, which its clean-up cannot race with.
class TerminationSignalsBlocked {
public:
    TerminationSignalsBlocked();
    ~TerminationSignalsBlocked();
    TerminationSignalsBlocked(const TerminationSignalsBlocked&) = delete;
    TerminationSignalsBlocked& operator=(const TerminationSignalsBlocked&) = delete;

private:
    alignas(8) unsigned char saved_[128];
};

}  // namespace fileio
