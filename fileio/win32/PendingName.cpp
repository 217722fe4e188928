#include "fileio/PendingName.h"

#include <atomic>
#include <string>

#include "fileio/PendingSlots.h"
#include "fileio/win32/Win32.h"

namespace fileio {

namespace {

// On Windows a name is the file's whole path and the folder is not used.
PendingSlots<PendingSlot<wchar_t, 32768>, 16> slots;

// The holds in force (low 16 bits) and the request noted meanwhile (the
// control event plus one, above them), in one word so that a request noted
// while the last hold ends is never lost.
std::atomic<unsigned> holdState{0};
constexpr unsigned kCountMask = 0xFFFF;
constexpr unsigned kRequestShift = 16;

// How a console interrupt ends a program.
constexpr UINT kInterruptedStatus = 0xC000013A;  // STATUS_CONTROL_C_EXIT

}  // namespace

void RegisterPendingName(int, const char* name) {
    auto& slot = slots.Own();
    slot.pending.store(false);
    std::wstring wide;
    if (!win32::WideFromUtf8(name, wide) || wide.size() >= std::size(slot.name)) return;
    wide.copy(slot.name, wide.size());
    slot.name[wide.size()] = L'\0';
    slot.pending.store(true);
}

void ClearPendingName() {
    slots.Own().pending.store(false);
}

void RemovePendingName() {
    for (auto& slot : slots) {
        if (slot.pending.exchange(false)) ::DeleteFileW(slot.name);
    }
}

TerminationHold::TerminationHold() {
    holdState.fetch_add(1);
}

TerminationHold::~TerminationHold() {
    unsigned state = holdState.load();
    unsigned next;
    do {
        next = (state & kCountMask) == 1 ? 0 : state - 1;
    } while (!holdState.compare_exchange_weak(state, next));
    // The request that waited takes effect now, as it would have at once.
    if ((state & kCountMask) == 1 && (state >> kRequestShift) != 0) {
        RemovePendingName();
        ::ExitProcess(kInterruptedStatus);
    }
}

bool TerminationHold::EndRequested() {
    return (holdState.load() >> kRequestShift) != 0;
}

bool PostponeTermination(int event) {
    unsigned state = holdState.load();
    do {
        if ((state & kCountMask) == 0) return false;
        if ((state >> kRequestShift) != 0) return true;  // one request is enough
    } while (!holdState.compare_exchange_weak(
        state, state | (static_cast<unsigned>(event + 1) << kRequestShift)));
    return true;
}

}  // namespace fileio
