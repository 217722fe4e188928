#pragma once

#include <QProcess>
#include <QString>

// A private virtual X server (Xvfb) on a display number that it picks itself
// among the free ones. Everything connected to it, including a clipboard
// server the program leaves behind, ends with it.
class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool IsRunning() const { return !display_.isEmpty(); }
    // ":N", for the DISPLAY variable.
    const QString& Display() const { return display_; }

private:
    QProcess server_;
    QString display_;
};
