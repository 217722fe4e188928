#include "app/platform/EventPump.h"

#include <QCoreApplication>

void QtEventPump::Pump() {
    QCoreApplication::processEvents();
}
