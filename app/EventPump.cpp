#include "app/EventPump.h"

#include <QCoreApplication>

void QtEventPump::Pump() {
    QCoreApplication::processEvents();
}
