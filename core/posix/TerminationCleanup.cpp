#include "core/TerminationCleanup.h"

#include <signal.h>

#include <initializer_list>

#include "cipher/PendingName.h"

namespace {

void RemoveAndEnd(int signalNumber) {
    filestore::RemovePendingName();
    // The handler was reset on entry: the signal, raised again, ends the
    // program once this handler returns.
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
