#include "QuillboxProcess.h"

#include <QDebug>
#include <QProcess>

namespace {

// The program's environment: the test's own, with leak reports of system
// libraries suppressed in sanitizer builds.
QProcessEnvironment BaseEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LSAN_OPTIONS"),
                       QStringLiteral("suppressions=" QUILLBOX_LSAN_SUPPRESSIONS));
    return environment;
}

// The same command line, environment and working folder for a ChildProcess.
testsupport::Launch ToLaunch(const QStringList& arguments, const QProcessEnvironment& environment,
                             const QString& workingDirectory) {
    testsupport::Launch launch;
    for (const QString& argument : arguments) launch.args.push_back(argument.toStdString());
    launch.folder = workingDirectory.toStdString();
    for (const QString& name : environment.keys()) {
        launch.environment.emplace_back(name.toStdString(), environment.value(name).toStdString());
    }
    for (const QString& name : QProcessEnvironment::systemEnvironment().keys()) {
        if (!environment.contains(name)) launch.removed.push_back(name.toStdString());
    }
    return launch;
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
                                 const QString& workingDirectory)
    : process_(QUILLBOX_EXECUTABLE, ToLaunch(arguments, environment, workingDirectory)) {}

bool RunTool(const QString& tool, const QStringList& arguments,
             const QProcessEnvironment& environment, QByteArray* output, const QByteArray& input,
             int timeoutMilliseconds) {
    QProcess process;
    process.setProcessEnvironment(environment);
    // The child left behind must not hold our output pipe open.
    if (output == nullptr) process.setStandardOutputFile(QProcess::nullDevice());
    process.start(tool, arguments);
    if (!process.waitForStarted()) return false;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMilliseconds)) {
        qWarning() << tool << arguments << "did not end in time";
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output != nullptr) *output = process.readAllStandardOutput();
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) return true;
    // A search that finds nothing fails silently; real errors say something.
    const QByteArray error = process.readAllStandardError();
    if (!error.isEmpty()) qWarning() << tool << arguments << "failed:" << error;
    return false;
}
