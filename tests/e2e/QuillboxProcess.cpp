#include "QuillboxProcess.h"

namespace {

// The program's environment: the test's own, with leak reports of system
// libraries suppressed in sanitizer builds.
QProcessEnvironment BaseEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LSAN_OPTIONS"),
                       QStringLiteral("suppressions=" QUILLBOX_LSAN_SUPPRESSIONS));
    return environment;
}

}  // namespace

QProcessEnvironment QuillboxProcess::Offscreen() {
    QProcessEnvironment environment = BaseEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("DISPLAY"));
    return environment;
}

QProcessEnvironment QuillboxProcess::NoDisplay() {
    QProcessEnvironment environment = BaseEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"}) {
        environment.remove(QLatin1String(name));
    }
    return environment;
}

QProcessEnvironment QuillboxProcess::OnDisplay(const QString& display) {
    QProcessEnvironment environment = BaseEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), display);
    return environment;
}

QuillboxProcess::QuillboxProcess(const QStringList& arguments,
                                 const QProcessEnvironment& environment,
                                 const QString& workingDirectory) {
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(workingDirectory);
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.start(QStringLiteral(QUILLBOX_EXECUTABLE), arguments);
    process_.waitForStarted();
}

QuillboxProcess::~QuillboxProcess() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished();
}

bool QuillboxProcess::WaitForExit(int timeoutMilliseconds) {
    return process_.state() == QProcess::NotRunning ||
           process_.waitForFinished(timeoutMilliseconds);
}

int QuillboxProcess::ExitStatus() const {
    if (process_.state() != QProcess::NotRunning || process_.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    return process_.exitCode();
}

QString QuillboxProcess::ErrorOutput() {
    return QString::fromLocal8Bit(process_.readAllStandardError());
}

QString QuillboxProcess::Output() {
    return QString::fromLocal8Bit(process_.readAllStandardOutput());
}

int RunQuillbox(const QStringList& arguments, const QProcessEnvironment& environment,
                const QString& workingDirectory) {
    QuillboxProcess program(arguments, environment, workingDirectory);
    program.WaitForExit();
    return program.ExitStatus();
}
