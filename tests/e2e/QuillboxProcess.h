#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The built program, started as a separate process the way a user starts it
// from a shell: every argument is a separate word.
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
    ~QuillboxProcess();
    QuillboxProcess(const QuillboxProcess&) = delete;
    QuillboxProcess& operator=(const QuillboxProcess&) = delete;

    // Waits for the program to end; false when it is still running after
    // timeoutMilliseconds.
    bool WaitForExit(int timeoutMilliseconds = 30000);

    // The exit status, or -1 when the program crashed or has not ended.
    int ExitStatus() const;

    // Everything the program wrote to its error output so far.
    QString ErrorOutput();
    // Everything the program wrote to its standard output so far.
    QString Output();

    // The running program's process id.
    qint64 ProcessId() const { return process_.processId(); }

private:
    QProcess process_;
};

// Starts the program and waits for its end; the exit status, or -1.
int RunQuillbox(const QStringList& arguments, const QProcessEnvironment& environment,
                const QString& workingDirectory);
