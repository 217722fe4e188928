#pragma once

#include <cstdint>
#include <string>

namespace cipher {

// What the cipher engine tells the outside world while it works. The engine
// knows nothing about windows; the application implements this interface to
// raise the Progress event, write the status label and keep its window live.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    // The Progress event. A subscriber may change Percent; the engine shows
    // and tests the value as it stands when the call returns.
    virtual void Progress(std::int32_t& Percent) = 0;

    // The status label's caption, "Working... NN%".
    virtual void SetStatusText(const std::u16string& text) = 0;

    // Lets pending user-interface events run. The engine calls it often
    // (several times per second of work at the least, and after every
    // progress report); an implementation should return quickly when
    // nothing is due.
    virtual void PumpEvents() = 0;

    // Asked between two chunks of a file operation. True ends the operation
    // there: its temporary output is removed, and the destination and the
    // source stay as they were. The default never stops.
    virtual bool StopRequested() { return false; }
};

}  // namespace cipher
