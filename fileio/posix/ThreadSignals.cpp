#include "fileio/ThreadSignals.h"

#include <pthread.h>
#include <signal.h>

#include <cstring>

namespace fileio {

static_assert(sizeof(sigset_t) <= 128);

TerminationSignalsBlocked::TerminationSignalsBlocked() {
    sigset_t block, saved;
    ::sigemptyset(&block);
    ::sigaddset(&block, SIGTERM);
    ::sigaddset(&block, SIGINT);
    ::sigaddset(&block, SIGHUP);
    ::pthread_sigmask(SIG_BLOCK, &block, &saved);
    std::memcpy(saved_, &saved, sizeof saved);
}

TerminationSignalsBlocked::~TerminationSignalsBlocked() {
    sigset_t saved;
    std::memcpy(&saved, saved_, sizeof saved);
    ::pthread_sigmask(SIG_SETMASK, &saved, nullptr);
}

}  // namespace fileio
