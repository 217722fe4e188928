#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <optional>

#include "QuillboxProcess.h"
#include "XServer.h"

// A real Wayland compositor for a test: weston, nested as a window in a
// private Xvfb, with its own runtime folder and socket. Programs started with
// Environment() are native Wayland clients of it and see no X display.
class WaylandCompositor {
public:
    WaylandCompositor();
    ~WaylandCompositor();
    WaylandCompositor(const WaylandCompositor&) = delete;
    WaylandCompositor& operator=(const WaylandCompositor&) = delete;

    bool IsRunning() const { return running_; }

    // The environment of a Wayland session for Quillbox (sanitizer options
    // included) or for a desktop tool.
    QProcessEnvironment Environment(const QProcessEnvironment& base) const;

    // The clipboard's text as wl-paste reads it; nothing when it failed.
    std::optional<QByteArray> Paste() const;

    // Another client (wl-copy) takes the clipboard over with this text.
    bool Copy(const QByteArray& text) const;

private:
    XServer x_;
    testsupport::TempDir runtime_;
    QProcess weston_;
    bool running_ = false;
};
