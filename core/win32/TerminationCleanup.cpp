#include "core/TerminationCleanup.h"

#include <windows.h>

#include "fileio/PendingName.h"

namespace {

// Runs on a thread of its own when the console is interrupted or closed, or
// the user logs off. Returning FALSE lets the next handler (by default the
// end of the process) take the event.
BOOL WINAPI RemoveAndEnd(DWORD) {
    filestore::RemovePendingName();
    return FALSE;
}

}  // namespace

void RemoveTemporaryFileOnTermination() {
    ::SetConsoleCtrlHandler(RemoveAndEnd, TRUE);
}
