#include "core/TerminationCleanup.h"

#include <signal.h>

#include <cerrno>
#include <initializer_list>

#include "fileio/PendingName.h"

namespace core {

namespace {

volatile sig_atomic_t stopOnInterrupt = 0;
volatile sig_atomic_t interrupted = 0;

void RemoveAndEnd(int signalNumber) {
    if (signalNumber == SIGINT && stopOnInterrupt != 0) {
        stopOnInterrupt = 0;  // the next one ends the program
        interrupted = 1;
        return;
    }
    // In the middle of a step that must not be cut (the wipe from the rename
    // to the delete, or a temporary file's creation and registration): the
    // step ends first, then the request takes effect.
    const int savedErrno = errno;
    if (fileio::PostponeTermination(signalNumber)) {
        errno = savedErrno;
        return;
    }
    fileio::RemovePendingName();
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
    // Not reset on delivery: a postponed request is raised again when the
    // step ends and must find this handler. The three wait for each other.
    ::sigemptyset(&action.sa_mask);
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        ::sigaddset(&action.sa_mask, signalNumber);
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction previous {};
        // A signal the program was started to ignore stays ignored.
        if (::sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) {
            continue;
        }
        ::sigaction(signalNumber, &action, nullptr);
    }
}

void StopOnInterrupt(bool on) {
    stopOnInterrupt = on && interrupted == 0 ? 1 : 0;
}

bool InterruptReceived() {
    return interrupted != 0;
}

}  // namespace core
