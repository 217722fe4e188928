#include "fileio/HoldState.h"

namespace fileio {

int HoldState::Leave() {
    unsigned state = state_.load();
    unsigned next;
    do {
        next = (state & kCountMask) == 1 ? 0 : state - 1;
    } while (!state_.compare_exchange_weak(state, next));
    return (state & kCountMask) == 1 ? static_cast<int>(state >> kRequestShift) : 0;
}

bool HoldState::Postpone(int request) {
    unsigned state = state_.load();
    do {
        if ((state & kCountMask) == 0) return false;
        if ((state >> kRequestShift) != 0) return true;  // one request is enough
    } while (!state_.compare_exchange_weak(
        state, state | (static_cast<unsigned>(request) << kRequestShift)));
    return true;
}

}  // namespace fileio
