#include "app/platform/ClipboardHandOff.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <cerrno>

#include "app/platform/ClipboardServer.h"
#include "core/ProcessHardening.h"
#include "fileio/Descriptors.h"

namespace app {

namespace clipboardhandoff {

namespace {

constexpr int kReadyTimeoutMilliseconds = 10000;

// A pipe whose ends are closed when this object goes, unless taken over.
struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) == 0) {
            read = ends[0];
            write = ends[1];
        }
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    bool IsOpen() const { return read >= 0 && write >= 0; }
    void CloseRead() { Close(read); }
    void CloseWrite() { Close(write); }
    static void Close(int& fd) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
};

// Runs in the child between fork and exec: only async-signal-safe calls.
// The server gets its own session so that it survives the terminal and the
// caller's process group, and its error output goes nowhere.
[[noreturn]] void ExecServer(const char* path, char* const argv[], int input, int ready,
                             int devNull) {
    // The child holds a copy of the text until exec; the keeper's own start
    // repeats this, since exec makes a process dumpable again.
    core::KeepSecretsOutOfCoreDumps();
    ::setsid();
    ::dup2(input, STDIN_FILENO);
    ::dup2(ready, STDOUT_FILENO);
    ::dup2(devNull, STDERR_FILENO);
    ::execv(path, argv);
    ::_exit(127);
}

bool AwaitReady(int fd, int timeoutMilliseconds) {
    pollfd entry{fd, POLLIN, 0};
    int polled;
    do {
        polled = ::poll(&entry, 1, timeoutMilliseconds);
    } while (polled < 0 && errno == EINTR);
    char signal = 0;
    return polled == 1 && ::read(fd, &signal, 1) == 1 && signal == clipboardserver::kReadySignal;
}

}  // namespace

bool ClipboardDiesWithOwner(const QString& platformName) {
    return platformName == QLatin1String("xcb") ||
           platformName.startsWith(QLatin1String("wayland"));
}

bool StartServer(const QString& executable, const QString& text, int timeoutMilliseconds) {
    const QByteArray path = QFile::encodeName(executable);
    QByteArray argument(clipboardserver::kServeArgument);
    char* const argv[] = {const_cast<char*>(path.constData()), argument.data(), nullptr};

    Pipe input;
    Pipe ready;
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (!input.IsOpen() || !ready.IsOpen() || devNull < 0) return false;

    const pid_t pid = ::fork();
    if (pid == 0) ExecServer(path.constData(), argv, input.read, ready.write, devNull);
    ::close(devNull);
    if (pid < 0) return false;
    input.CloseRead();
    ready.CloseWrite();

    // A server that died early must not kill this process with SIGPIPE.
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &previous);
    const QByteArray bytes = text.toUtf8();
    const bool handed =
        !fileio::WriteAll(input.write, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    ::sigaction(SIGPIPE, &previous, nullptr);
    input.CloseWrite();
    return handed && AwaitReady(ready.read, timeoutMilliseconds);
}

bool KeepAfterExit(const QString& text) {
    if (text.isEmpty() || !ClipboardDiesWithOwner(QGuiApplication::platformName())) return true;
    return StartServer(QCoreApplication::applicationFilePath(), text, kReadyTimeoutMilliseconds);
}

}  // namespace clipboardhandoff

}  // namespace app
