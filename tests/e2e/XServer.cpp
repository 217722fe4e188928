#include "XServer.h"

namespace {
constexpr int kStartTimeoutMilliseconds = 20000;
}

XServer::XServer() {
    // -displayfd 1: the server writes the display number it took to its
    // standard output once it accepts connections. -noreset: without it the
    // server resets whenever its last client leaves, and a program that
    // connects during the reset fails to start.
    server_.setStandardInputFile(QProcess::nullDevice());
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!server_.waitForStarted(kStartTimeoutMilliseconds)) return;
    while (!server_.canReadLine() && server_.waitForReadyRead(kStartTimeoutMilliseconds)) {
    }
    const QString number = QString::fromLatin1(server_.readLine()).trimmed();
    if (!number.isEmpty()) display_ = QLatin1Char(':') + number;
}

XServer::~XServer() {
    if (server_.state() == QProcess::NotRunning) return;
    server_.terminate();
    if (!server_.waitForFinished(kStartTimeoutMilliseconds)) {
        server_.kill();
        server_.waitForFinished();
    }
}
