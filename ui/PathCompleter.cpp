#include "ui/PathCompleter.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileSystemModel>
#include <QMouseEvent>
#include <QPointer>

namespace ui {

namespace {

// The control that a click on target gives the focus to, as Qt's own mouse
// handling chooses it: target or the nearest container that takes focus by
// clicking.
QWidget* ClickFocusTarget(QWidget* target) {
    for (QWidget* w = target; w != nullptr; w = w->parentWidget()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus) return w;
        if (w->isWindow()) break;
    }
    return nullptr;
}

QMouseEvent At(const QMouseEvent& event, QEvent::Type type, QWidget* target) {
    return QMouseEvent(type, target->mapFromGlobal(event.globalPosition()), event.scenePosition(),
                       event.globalPosition(), event.button(), event.buttons(), event.modifiers(),
                       event.pointingDevice());
}

// Hands the next release, wherever it is addressed (the closed list may
// still hold the pointer), to the control that got the press, then goes.
class ReleaseTo : public QObject {
public:
    explicit ReleaseTo(QWidget* target) : target_(target) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease) return false;
        qApp->removeEventFilter(this);
        deleteLater();
        if (target_ == nullptr) return true;
        QMouseEvent release = At(static_cast<const QMouseEvent&>(*event), event->type(), target_);
        QApplication::sendEvent(target_, &release);
        return true;
    }

private:
    QPointer<QWidget> target_;
};

}  // namespace

PathCompleter::PathCompleter(QObject* parent) : QCompleter(parent) {
    auto* model = new QFileSystemModel(this);
    model->setRootPath(QString());
    setModel(model);
}

bool PathCompleter::eventFilter(QObject* watched, QEvent* event) {
    // The type first: popup() creates the list, whose construction passes through here.
    if (event->type() == QEvent::MouseButtonPress && watched == popup() &&
        PassPressOn(static_cast<const QMouseEvent&>(*event))) {
        return true;
    }
    return QCompleter::eventFilter(watched, event);
}

bool PathCompleter::PassPressOn(const QMouseEvent& press) {
    QAbstractItemView* list = popup();
    const QPoint global = press.globalPosition().toPoint();
    if (!list->isVisible() || list->rect().contains(list->mapFromGlobal(global))) return false;
    QWidget* field = widget();
    QWidget* target = QApplication::widgetAt(global);
    // Outside this window (another program, another of our windows) the
    // completer's own handling stands: the list closes.
    if (field == nullptr || target == nullptr || target->window() != field->window() ||
        !target->isEnabled()) {
        return false;
    }

    list->hide();
    if (QWidget* focus = ClickFocusTarget(target)) focus->setFocus(Qt::MouseFocusReason);
    QMouseEvent replay = At(press, QEvent::MouseButtonPress, target);
    new ReleaseTo(target);
    QApplication::sendEvent(target, &replay);
    return true;
}

}  // namespace ui
