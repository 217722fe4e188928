#include "core/TerminationCleanup.h"

#include <windows.h>

#include "fileio/PendingName.h"

namespace {

// Runs on a thread of its own when the console is interrupted or closed, or
// the user logs off. In the middle of a step that must not be cut (the wipe
// from the rename to the delete, or a temporary file's creation), the step's
// thread ends the program when the step is over; this thread waits for that.
// Otherwise the temporary file goes, and returning FALSE lets the next
// handler (by default the end of the process) take the event.
BOOL WINAPI RemoveAndEnd(DWORD event) {
    if (filestore::PostponeTermination(static_cast<int>(event))) {
        for (;;) ::Sleep(INFINITE);
    }
    filestore::RemovePendingName();
    return FALSE;
}

}  // namespace

void RemoveTemporaryFileOnTermination() {
    ::SetConsoleCtrlHandler(RemoveAndEnd, TRUE);
}
