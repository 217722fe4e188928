#pragma once

#include <atomic>

namespace fileio {

// The termination holds in force and the request to end noted meanwhile, in
// one atomic word (the count in the low 16 bits, the request above them), so
// that a request arriving on another thread while the last hold ends is
// never lost. Lock-free, so a signal handler may use it. A request is a
// positive number the platform chooses (a signal, a console event plus one).
class HoldState {
public:
    void Enter() { state_.fetch_add(1); }

    // Ends one hold; gives the request noted meanwhile when this was the
    // last hold in force, and 0 otherwise.
    int Leave();

    // True when a request is noted.
    bool Noted() const { return (state_.load() >> kRequestShift) != 0; }

    // Notes `request` and gives true when a hold is in force; gives false,
    // noting nothing, when none is. The first request noted is kept.
    bool Postpone(int request);

private:
    static constexpr unsigned kCountMask = 0xFFFF;
    static constexpr unsigned kRequestShift = 16;
    std::atomic<unsigned> state_{0};
};

}  // namespace fileio
