#pragma once

#include <QCompleter>

class QMouseEvent;

namespace ui {

// Completes typed paths from the file system.
//
// While its list is open the list takes every mouse press, and Qt's completer
// spends a press outside the list on closing it: the field that was clicked
// does not get the focus and typing goes on in the completed field. This one
// passes such a press on: the list closes, and the press (and its release) go
// to the control that was aimed at, which takes the focus as after any click.
class PathCompleter : public QCompleter {
    Q_OBJECT

public:
    explicit PathCompleter(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the press was outside the list, on a control of the same window.
    bool PassPressOn(const QMouseEvent& press);
};

}  // namespace ui
