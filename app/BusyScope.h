#pragma once

class QWidget;
struct Platform;

// The busy state of a file operation, for the lifetime of the object:
// hourglass pointer, main window disabled, status window shown. Undone in
// reverse order however the scope is left.
class BusyScope {
public:
    BusyScope(Platform& platform, QWidget& mainWindow);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Platform& platform_;
    QWidget& mainWindow_;
};
