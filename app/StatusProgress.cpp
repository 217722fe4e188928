#include "app/StatusProgress.h"

#include <QString>
#include <utility>

#include "app/EventPump.h"
#include "app/StatusWindow.h"

StatusProgress::StatusProgress(StatusWindow& status, EventPump& pump, Clock clock)
    : status_(status), pump_(pump), clock_(std::move(clock)), lastPump_(clock_()) {}

void StatusProgress::Progress(std::int32_t& /*Percent*/) {
    // Nothing in the program subscribes to the Progress event.
}

void StatusProgress::SetStatusText(const std::u16string& text) {
    status_.SetText(QString::fromStdU16String(text));
    textChanged_ = true;
}

void StatusProgress::PumpEvents() {
    const auto now = clock_();
    if (!textChanged_ && now - lastPump_ < kPumpInterval) return;
    textChanged_ = false;
    lastPump_ = now;
    pump_.Pump();
}
