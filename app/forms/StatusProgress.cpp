#include "app/forms/StatusProgress.h"

#include <QCoreApplication>
#include <QString>
#include <utility>

#include "app/forms/StatusWindow.h"
#include "app/platform/EventPump.h"

namespace app {

StatusProgress::StatusProgress(StatusWindow& status, EventPump& pump, Clock clock)
    : status_(status), pump_(pump), clock_(std::move(clock)), lastPump_(clock_()) {}

void StatusProgress::Progress(std::int32_t& /*Percent*/) {
    // Nothing in the program subscribes to the Progress event.
}

namespace {

// The engine writes "Working... NN%"; the label shows it in the user's language.
QString Translated(const QString& text) {
    static const QString prefix = QStringLiteral("Working... ");
    if (!text.startsWith(prefix) || !text.endsWith(u'%')) return text;
    bool isNumber = false;
    const int percent =
        text.sliced(prefix.size(), text.size() - prefix.size() - 1).toInt(&isNumber);
    if (!isNumber) return text;
    return QCoreApplication::translate("StatusProgress", "Working... %1%").arg(percent);
}

}  // namespace

void StatusProgress::SetStatusText(const std::u16string& text) {
    status_.SetText(Translated(QString::fromStdU16String(text)));
    textChanged_ = true;
}

void StatusProgress::PumpEvents() {
    const auto now = clock_();
    if (!textChanged_ && now - lastPump_ < kPumpInterval) return;
    textChanged_ = false;
    lastPump_ = now;
    pump_.Pump();
}

}  // namespace app
