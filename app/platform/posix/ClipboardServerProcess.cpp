#include "app/platform/ClipboardServerProcess.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>

#include "app/platform/ClipboardServer.h"

namespace app {

namespace clipboardserver::process {

void LeaveWorkingFolder() {
    [[maybe_unused]] const int changed = ::chdir("/");
}

QString ReadStandardInput() {
    QFile input;
    if (!input.open(STDIN_FILENO, QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(input.readAll());
}

void ReportReady() {
    const char signal = kReadySignal;
    [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, &signal, 1);
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ::dup2(devNull, STDOUT_FILENO);
    ::close(devNull);
}

}  // namespace clipboardserver::process

}  // namespace app
