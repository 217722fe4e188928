#pragma once

namespace app {

// Runs the window events that are waiting, then returns.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void Pump() = 0;
};

class QtEventPump final : public EventPump {
public:
    void Pump() override;
};

}  // namespace app
