#include "gui/StrayKeyReleases.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace gui {

StrayKeyReleases::StrayKeyReleases() {
    qApp->installEventFilter(this);
}

StrayKeyReleases::~StrayKeyReleases() {
    qApp->removeEventFilter(this);
}

bool StrayKeyReleases::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWidgetType()) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (key.isAutoRepeat()) return false;
    QWidget* window = static_cast<QWidget*>(watched)->window();
    if (type == QEvent::KeyPress) {
        pressedIn_[key.key()] = window;
        return false;
    }
    // The press stays recorded: a release travels up through the parents of
    // its widget and passes here once for each.
    const auto press = pressedIn_.find(key.key());
    return press == pressedIn_.end() || press->second != window;
}

}  // namespace gui
