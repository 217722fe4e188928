#include "app/platform/ClipboardServer.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/platform/ClipboardServerProcess.h"
#include "app/platform/WaylandSelection.h"

namespace app {

namespace clipboardserver {

bool IsServerInvocation(const QStringList& arguments) {
    return arguments.size() == 1 && arguments.front() == QLatin1String(kServeArgument);
}

int Serve() {
    // The server may run for hours: it must not keep the folder it was started
    // in busy (a USB stick mounted there could not be unmounted).
    process::LeaveWorkingFolder();
    const QString text = process::ReadStandardInput();
    if (waylandselection::OnWayland()) return waylandselection::Serve(text, process::ReportReady);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text, QClipboard::Clipboard);
    if (!clipboard->ownsClipboard()) return 1;
    // This process never touches the clipboard again, so any later change is
    // another program's. (Qt's own ownership flag can miss the loss when the
    // new owner clears the clipboard before setting it.)
    QObject::connect(clipboard, &QClipboard::changed, qApp, [](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard) qApp->quit();
    });
    process::ReportReady();
    QGuiApplication::exec();
    return 0;
}

}  // namespace clipboardserver

}  // namespace app
