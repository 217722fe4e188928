#include "cli/ProgressBar.h"

#include <algorithm>

#include "cli/Descriptors.h"

namespace cli {

namespace {

using namespace std::chrono_literals;
constexpr auto kDelay = 500ms;
constexpr auto kRedraw = 100ms;
constexpr int kCells = 30;
constexpr std::size_t kLabelWidth = 32;

void Write(const std::string& text) {
    // A bar that cannot be shown is no reason to stop the work.
    [[maybe_unused]] std::error_code ec = WriteAll(kStandardError, text.data(), text.size());
}

}  // namespace

ProgressBar::ProgressBar(std::string label, bool enabled)
    : label_(std::move(label)), enabled_(enabled), start_(std::chrono::steady_clock::now()) {
    if (label_.size() > kLabelWidth)
        label_ = "..." + label_.substr(label_.size() - kLabelWidth + 3);
}

ProgressBar::~ProgressBar() {
    Finish();
}

void ProgressBar::Progress(std::int32_t& Percent) {
    percent_ = std::clamp(Percent, 0, 100);
    MaybeDraw();
}

void ProgressBar::PumpEvents() {
    MaybeDraw();
}

void ProgressBar::MaybeDraw() {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < kDelay || now - lastDraw_ < kRedraw) return;
    lastDraw_ = now;
    drawn_ = true;
    const int filled = percent_ * kCells / 100;
    std::string line = "\r" + label_ + " [";
    line.append(filled, '#').append(kCells - filled, ' ');
    line += "] " + std::to_string(percent_) + "%";
    Write(line);
}

void ProgressBar::Clear() {
    if (drawn_) Write("\r\x1b[K");
    drawn_ = false;
}

void ProgressBar::Finish() {
    if (drawn_) Write("\r\x1b[K");
    drawn_ = false;
    enabled_ = false;
}

}  // namespace cli
