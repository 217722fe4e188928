#pragma once

#include <atomic>
#include <cstddef>

// The temporary names registered for removal at termination, one slot per
// thread that has registered one (several files may be worked on at once).
// Plain storage and lock-free flags: a handler may read them at any moment,
// so a name is complete before its flag is raised.
namespace fileio {

template <typename Char, std::size_t Length>
struct PendingSlot {
    Char name[Length];
    int folder = -1;
    std::atomic<bool> pending{false};
    std::atomic<bool> taken{false};
};

template <typename Slot, int Count>
class PendingSlots {
public:
    // This thread's slot; the last one is shared when all are taken.
    Slot& Own() {
        thread_local int own = -1;
        if (own < 0) {
            own = Count - 1;
            for (int i = 0; i < Count - 1; ++i) {
                bool expected = false;
                if (slots_[i].taken.compare_exchange_strong(expected, true)) {
                    own = i;
                    break;
                }
            }
        }
        return slots_[own];
    }
    Slot* begin() { return slots_; }
    Slot* end() { return slots_ + Count; }

private:
    Slot slots_[Count];
};

}  // namespace fileio
