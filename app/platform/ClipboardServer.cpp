#include "app/platform/ClipboardServer.h"

#include <fcntl.h>
#include <unistd.h>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

#include "app/platform/WaylandSelection.h"

namespace clipboardserver {

namespace {

QString ReadStandardInput() {
    QFile input;
    if (!input.open(STDIN_FILENO, QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(input.readAll());
}

// Tells the waiting parent that it may end, then lets go of the pipe so that
// nobody waits for this process's output.
void ReportReady() {
    const char signal = kReadySignal;
    [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, &signal, 1);
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ::dup2(devNull, STDOUT_FILENO);
    ::close(devNull);
}

}  // namespace

bool IsServerInvocation(const QStringList& arguments) {
    return arguments.size() == 1 && arguments.front() == QLatin1String(kServeArgument);
}

int Serve() {
    // The server may run for hours: it must not keep the folder it was started
    // in busy (a USB stick mounted there could not be unmounted).
    [[maybe_unused]] const int changed = ::chdir("/");
    const QString text = ReadStandardInput();
    if (waylandselection::OnWayland()) return waylandselection::Serve(text, ReportReady);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text, QClipboard::Clipboard);
    if (!clipboard->ownsClipboard()) return 1;
    // This process never touches the clipboard again, so any later change is
    // another program's. (Qt's own ownership flag can miss the loss when the
    // new owner clears the clipboard before setting it.)
    QObject::connect(clipboard, &QClipboard::changed, qApp, [](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard) qApp->quit();
    });
    ReportReady();
    QGuiApplication::exec();
    return 0;
}

}  // namespace clipboardserver
