#include "WaylandCompositor.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace {

constexpr int kTimeoutMilliseconds = 20000;
const QString kSocket = QStringLiteral("quillbox-test");

}  // namespace

WaylandCompositor::WaylandCompositor() {
    if (!x_.IsRunning()) return;
    // The runtime folder must belong to us alone, as in a real session.
    QFile::setPermissions(QtPath(runtime_), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), x_.Display());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QtPath(runtime_));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    weston_.setProcessEnvironment(environment);
    weston_.setStandardInputFile(QProcess::nullDevice());
    weston_.setStandardOutputFile(QProcess::nullDevice());
    weston_.setStandardErrorFile(QProcess::nullDevice());
    weston_.start(QStringLiteral("weston"),
                  {QStringLiteral("--backend=x11-backend.so"),
                   QStringLiteral("--socket=") + kSocket, QStringLiteral("--idle-time=0"),
                   QStringLiteral("--width=640"), QStringLiteral("--height=480")});
    if (!weston_.waitForStarted(kTimeoutMilliseconds)) return;
    // The compositor accepts clients once its socket exists.
    const QString socket = QtPath(runtime_, kSocket);
    const QDeadlineTimer deadline(kTimeoutMilliseconds);
    while (!QFile::exists(socket) && weston_.state() == QProcess::Running &&
           !deadline.hasExpired()) {
        QThread::msleep(20);
    }
    running_ = QFile::exists(socket) && weston_.state() == QProcess::Running;
}

WaylandCompositor::~WaylandCompositor() {
    if (weston_.state() == QProcess::NotRunning) return;
    weston_.terminate();
    if (!weston_.waitForFinished(kTimeoutMilliseconds)) {
        weston_.kill();
        weston_.waitForFinished();
    }
}

QProcessEnvironment WaylandCompositor::Environment(const QProcessEnvironment& base) const {
    QProcessEnvironment environment = base;
    environment.remove(QStringLiteral("DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QtPath(runtime_));
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), kSocket);
    // Qt's Wayland libraries are built without frame pointers: only the slow
    // unwinder reaches the frames that the leak suppressions name.
    const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       asan + (asan.isEmpty() ? "" : ":") + "fast_unwind_on_malloc=0");
    return environment;
}

std::optional<QByteArray> WaylandCompositor::Paste() const {
    QByteArray text;
    const auto environment = Environment(QProcessEnvironment::systemEnvironment());
    if (!RunTool(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline")}, environment,
                 &text)) {
        return std::nullopt;
    }
    return text;
}

bool WaylandCompositor::Copy(const QByteArray& text) const {
    return RunTool(QStringLiteral("wl-copy"), {},
                   Environment(QProcessEnvironment::systemEnvironment()), nullptr, text);
}
