#include "gui/DisplayGuard.h"

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace gui {

namespace {

// A message handler is a plain function, so what it needs lives here; only
// one guard exists at a time.
QtMessageHandler previousHandler = nullptr;
int guardStatus = 1;
QByteArray guardText;

const char* Variable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : "(not set)";
}

void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        if (previousHandler) previousHandler(type, context, message);
        return;
    }
    std::fprintf(stderr,
                 "Quillbox: no usable display, so nothing was done. Run it in a desktop session "
                 "(DISPLAY=%s, WAYLAND_DISPLAY=%s, QT_QPA_PLATFORM=%s).\n",
                 Variable("DISPLAY"), Variable("WAYLAND_DISPLAY"), Variable("QT_QPA_PLATFORM"));
    std::fwrite(guardText.constData(), 1, static_cast<std::size_t>(guardText.size()), stderr);
    std::fflush(stderr);
    std::_Exit(guardStatus);
}

}  // namespace

DisplayGuard::DisplayGuard(int exitStatus, const QByteArray& furtherText) {
    guardStatus = exitStatus;
    guardText = furtherText;
    previousHandler = qInstallMessageHandler(Handle);
}

DisplayGuard::~DisplayGuard() {
    qInstallMessageHandler(previousHandler);
    previousHandler = nullptr;
    guardText.clear();
}

}  // namespace gui
