#include "fileio/PendingName.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace filestore {

namespace {

// Plain storage and a lock-free flag: a signal handler may read them at any
// moment, so the name is complete before the flag is raised.
char pendingName[256];
int pendingFolder = -1;
std::atomic<bool> pending{false};

}  // namespace

void RegisterPendingName(int folder, const char* name) {
    pending.store(false);
    if (std::strlen(name) >= sizeof pendingName) return;
    std::strcpy(pendingName, name);
    pendingFolder = folder;
    pending.store(true);
}

void ClearPendingName() {
    pending.store(false);
}

void RemovePendingName() {
    if (pending.exchange(false)) ::unlinkat(pendingFolder, pendingName, 0);
}

}  // namespace filestore
