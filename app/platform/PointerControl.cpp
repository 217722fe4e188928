#include "app/platform/PointerControl.h"

#include <QCursor>
#include <QGuiApplication>

namespace app {

QtPointer::~QtPointer() {
    if (overridden_) QGuiApplication::restoreOverrideCursor();
}

void QtPointer::SetHourglass(bool on) {
    hourglass_ = on;
    Apply();
}

void QtPointer::SetHidden(bool hidden) {
    hidden_ = hidden;
    Apply();
}

void QtPointer::Apply() {
    const bool wanted = hidden_ || hourglass_;
    if (!wanted) {
        if (overridden_) QGuiApplication::restoreOverrideCursor();
        overridden_ = false;
        return;
    }
    const QCursor cursor(hidden_ ? Qt::BlankCursor : Qt::WaitCursor);
    if (overridden_) {
        QGuiApplication::changeOverrideCursor(cursor);
    } else {
        QGuiApplication::setOverrideCursor(cursor);
        overridden_ = true;
    }
}

}  // namespace app
