#include "core/TerminationCleanup.h"

#include <signal.h>

#include <initializer_list>

#include "fileio/PendingName.h"

namespace {

void RemoveAndEnd(int signalNumber) {
    filestore::RemovePendingName();
    // Back to the default action whatever flags the handler was installed
    // with (another part of the program may have saved and restored it), so
    // the signal, raised again, ends the program once this handler returns.
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    ::sigemptyset(&standard.sa_mask);
    ::sigaction(signalNumber, &standard, nullptr);
    ::raise(signalNumber);
}

}  // namespace

void RemoveTemporaryFileOnTermination() {
    struct sigaction action {};
    action.sa_handler = RemoveAndEnd;
    action.sa_flags = SA_RESETHAND;
    ::sigemptyset(&action.sa_mask);
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction previous {};
        // A signal the program was started to ignore stays ignored.
        if (::sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) {
            continue;
        }
        ::sigaction(signalNumber, &action, nullptr);
    }
}
