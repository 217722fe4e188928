#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

#include "tests/support/ChildProcess.h"
#include "tests/support/Files.h"

// The built program, started as a separate process the way a user starts it
// from a shell: every argument is a separate word. The tests' Qt words over
// testsupport::ChildProcess.
class QuillboxProcess {
public:
    // The environment for the offscreen platform (no display at all).
    static QProcessEnvironment Offscreen();
    // The environment of a shell without any display: no X server, no
    // Wayland compositor, no platform chosen.
    static QProcessEnvironment NoDisplay();
    // The environment for an X server.
    static QProcessEnvironment OnDisplay(const QString& display);

    QuillboxProcess(const QStringList& arguments, const QProcessEnvironment& environment,
                    const QString& workingDirectory);

    // Waits for the program to end; false when it is still running after
    // timeoutMilliseconds.
    bool WaitForExit(int timeoutMilliseconds = 30000) {
        if (!ended_) ended_ = process_.Wait(std::chrono::milliseconds(timeoutMilliseconds));
        return ended_.has_value();
    }

    // Once it has ended: the exit status (-1 after a crash), and everything
    // the program wrote to its error output and to its standard output.
    int ExitStatus() const { return ended_ ? ended_->status : -1; }
    QString ErrorOutput() const { return QString::fromStdString(ended_ ? ended_->err : ""); }
    QString Output() const { return QString::fromStdString(ended_ ? ended_->out : ""); }

    // The running program's process id.
    qint64 ProcessId() const { return process_.Pid(); }

private:
    testsupport::ChildProcess process_;
    std::optional<testsupport::Result> ended_;
};

// Runs a desktop tool found on the PATH; false when it failed or took too
// long. Tools like xclip and wl-copy leave a child behind that serves the
// clipboard: QProcess waits for the tool itself, not for its pipes to close.
bool RunTool(const QString& tool, const QStringList& arguments,
             const QProcessEnvironment& environment, QByteArray* output = nullptr,
             const QByteArray& input = {}, int timeoutMilliseconds = 20000);

// A temporary folder, or a name in it, as a QString.
inline QString QtPath(const testsupport::TempDir& folder, const QString& name = {}) {
    return QString::fromStdString(folder.Path(name.toStdString()).string());
}
