#include "fileio/PendingName.h"

#include <string>

#include "fileio/HoldState.h"
#include "fileio/PendingSlots.h"
#include "fileio/win32/Win32.h"

namespace fileio {

namespace {

// On Windows a name is the file's whole path and the folder is not used.
PendingSlots<PendingSlot<wchar_t, 32768>, 16> slots;

// The request noted is the console control event plus one.
HoldState holds;

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
    holds.Enter();
}

TerminationHold::~TerminationHold() {
    // The request that waited takes effect now, as it would have at once.
    if (holds.Leave() != 0) {
        RemovePendingName();
        ::ExitProcess(kInterruptedStatus);
    }
}

bool TerminationHold::EndRequested() {
    return holds.Noted();
}

bool PostponeTermination(int event) {
    return holds.Postpone(event + 1);
}

}  // namespace fileio
