#include "app/platform/EventPump.h"

#include <QCoreApplication>

namespace app {

void QtEventPump::Pump() {
    QCoreApplication::processEvents();
}

}  // namespace app
