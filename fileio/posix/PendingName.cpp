#include "fileio/PendingName.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace filestore {

namespace {

// One slot per thread that has registered a name (several files may be
// worked on at once). Plain storage and lock-free flags: a signal handler
// may read them at any moment, so a name is complete before its flag is
// raised.
constexpr int kSlots = 64;

struct Slot {
    char name[256];
    int folder = -1;
    std::atomic<bool> pending{false};
    std::atomic<bool> taken{false};
};

Slot slots[kSlots];
thread_local int ownSlot = -1;

// This thread's slot; the last one is shared when all are taken.
Slot& OwnSlot() {
    if (ownSlot < 0) {
        ownSlot = kSlots - 1;
        for (int i = 0; i < kSlots - 1; ++i) {
            bool expected = false;
            if (slots[i].taken.compare_exchange_strong(expected, true)) {
                ownSlot = i;
                break;
            }
        }
    }
    return slots[ownSlot];
}

}  // namespace

void RegisterPendingName(int folder, const char* name) {
    Slot& slot = OwnSlot();
    slot.pending.store(false);
    if (std::strlen(name) >= sizeof slot.name) return;
    std::strcpy(slot.name, name);
    slot.folder = folder;
    slot.pending.store(true);
}

void ClearPendingName() {
    OwnSlot().pending.store(false);
}

void RemovePendingName() {
    for (Slot& slot : slots) {
        if (slot.pending.exchange(false)) ::unlinkat(slot.folder, slot.name, 0);
    }
}

}  // namespace filestore
