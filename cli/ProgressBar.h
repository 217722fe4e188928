#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "cipher/ProgressSink.h"

namespace cli {

// A one-line bar on standard error, fed by the engine's progress reports.
// It appears only once the work has taken about half a second, so quick
// operations print nothing, and it is erased when the work ends.
class ProgressBar : public cipher::ProgressSink {
public:
    // A disabled bar draws nothing (standard error is not a terminal, or
    // --quiet was given).
    ProgressBar(std::string label, bool enabled);
    ~ProgressBar() override;
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void Progress(std::int32_t& Percent) override;
    void SetStatusText(const std::u16string&) override {}
    void PumpEvents() override;

    // Erases the bar if it was drawn.
    void Finish();
    // Erases the bar for a line of text; it comes back with the next report.
    void Clear();

private:
    void MaybeDraw();

    std::string label_;
    bool enabled_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
    std::int32_t percent_ = 0;
    bool drawn_ = false;
};

}  // namespace cli
