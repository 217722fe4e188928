#include "fileio/PendingName.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "fileio/HoldState.h"
#include "fileio/PendingSlots.h"

namespace fileio {

namespace {

// Names up to 255 bytes, relative to their folder.
PendingSlots<PendingSlot<char, 256>, 64> slots;

// The request noted is the signal's number.
HoldState holds;

// The signal mask each thread had before its outermost hold.
thread_local int threadHolds = 0;
thread_local sigset_t savedMask;

sigset_t TerminationSignals() {
    sigset_t set;
    ::sigemptyset(&set);
    ::sigaddset(&set, SIGTERM);
    ::sigaddset(&set, SIGINT);
    ::sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

void RegisterPendingName(int folder, const char* name) {
    auto& slot = slots.Own();
    slot.pending.store(false);
    if (std::strlen(name) >= sizeof slot.name) return;
    std::strcpy(slot.name, name);
    slot.folder = folder;
    slot.pending.store(true);
}

void ClearPendingName() {
    slots.Own().pending.store(false);
}

void RemovePendingName() {
    for (auto& slot : slots) {
        if (slot.pending.exchange(false)) ::unlinkat(slot.folder, slot.name, 0);
    }
}

TerminationHold::TerminationHold() {
    // Counted first, so a request taken by another thread from here on is
    // noted rather than acted on.
    holds.Enter();
    if (threadHolds++ == 0) {
        const sigset_t block = TerminationSignals();
        ::pthread_sigmask(SIG_BLOCK, &block, &savedMask);
    }
}

TerminationHold::~TerminationHold() {
    const int noted = holds.Leave();
    // A request this thread kept waiting is delivered as the mask returns.
    if (--threadHolds == 0) ::pthread_sigmask(SIG_SETMASK, &savedMask, nullptr);
    if (noted != 0) ::raise(noted);
}

bool TerminationHold::EndRequested() {
    if (holds.Noted()) return true;
    sigset_t waiting;
    if (::sigpending(&waiting) != 0) return false;
    return ::sigismember(&waiting, SIGTERM) == 1 || ::sigismember(&waiting, SIGINT) == 1 ||
           ::sigismember(&waiting, SIGHUP) == 1;
}

bool PostponeTermination(int signalNumber) {
    return holds.Postpone(signalNumber);
}

}  // namespace fileio
