#pragma once

// The name of the temporary file that an operation is writing at this
// moment, so that a signal handler can remove it before the program ends,
// and the short stretches of work that a request to end must not cut in two.
// One operation at a time on each thread.
namespace fileio {

// Registers the temporary file `name` in the folder open as `folder`. Only
// a file this process has just created is registered, under a
// TerminationHold that also covers its creation, so that no interruption
// leaves it behind or removes a file that belongs to someone else.
void RegisterPendingName(int folder, const char* name);
void ClearPendingName();

// Removes the registered file, if any. Safe to call from a signal handler.
void RemovePendingName();

// While a TerminationHold lives, a request to end the program (terminate,
// interrupt or hang-up) waits: this thread does not take it, and the
// handler only notes it when another thread does. When the last hold ends,
// a request that arrived meanwhile takes effect, as it would have at once.
// Holds nest. A kill, which cannot be caught, is not held off.
class TerminationHold {
public:
    TerminationHold();
    ~TerminationHold();
    TerminationHold(const TerminationHold&) = delete;
    TerminationHold& operator=(const TerminationHold&) = delete;

    // True when a request to end arrived while the hold was in force.
    static bool EndRequested();
};

// For the termination handler: true when a hold is in force, in which case
// the request `signalNumber` is noted and takes effect when the hold ends.
// Safe to call from a signal handler.
bool PostponeTermination(int signalNumber);

}  // namespace fileio
