#pragma once

#include <chrono>
#include <functional>

#include "cipher/ProgressSink.h"

namespace app {

class EventPump;
class StatusWindow;

// Shows the engine's progress in the status window and keeps the program's
// windows live while it works. The engine asks for the event pump very
// often; the pump runs at most once per interval, and right after the
// progress text changed, so that it costs little and the text shows at once.
class StatusProgress final : public cipher::ProgressSink {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::milliseconds kPumpInterval{10};

    StatusProgress(StatusWindow& status, EventPump& pump,
                   Clock clock = &std::chrono::steady_clock::now);

    void Progress(std::int32_t& Percent) override;
    void SetStatusText(const std::u16string& text) override;
    void PumpEvents() override;

private:
    StatusWindow& status_;
    EventPump& pump_;
    Clock clock_;
    std::chrono::steady_clock::time_point lastPump_;
    bool textChanged_ = false;
};

}  // namespace app
