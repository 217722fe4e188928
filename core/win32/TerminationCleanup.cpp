#include "core/TerminationCleanup.h"

#include <windows.h>

#include <atomic>

#include "fileio/PendingName.h"

namespace core {

namespace {

std::atomic<bool> stopOnInterrupt{false};
std::atomic<bool> interrupted{false};

// Runs on a thread of its own when the console is interrupted or closed, or
// the user logs off. A first Ctrl+C while a set of files is worked on only
// asks the work to stop at its next safe point. In the middle of a step that
// must not be cut (the wipe from the rename to the delete, or a temporary
// file's creation), the step's thread ends the program when the step is
// over; this thread waits for that. Otherwise the temporary file goes, and
// returning FALSE lets the next handler (by default the end of the process)
// take the event.
BOOL WINAPI RemoveAndEnd(DWORD event) {
    if (event == CTRL_C_EVENT && stopOnInterrupt.exchange(false)) {
        interrupted = true;  // the next one ends the program
        return TRUE;
    }
    if (fileio::PostponeTermination(static_cast<int>(event))) {
        for (;;) ::Sleep(INFINITE);
    }
    fileio::RemovePendingName();
    return FALSE;
}

}  // namespace

void RemoveTemporaryFileOnTermination() {
    ::SetConsoleCtrlHandler(RemoveAndEnd, TRUE);
}

void StopOnInterrupt(bool on) {
    stopOnInterrupt = on && !interrupted;
}

bool InterruptReceived() {
    return interrupted;
}

}  // namespace core
