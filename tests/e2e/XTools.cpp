#include "XTools.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>

#include "QuillboxProcess.h"

bool XTools::Run(const QString& tool, const QStringList& arguments, QByteArray* output,
                 const QByteArray& input, int timeoutMilliseconds) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    return RunTool(tool, arguments, environment, output, input, timeoutMilliseconds);
}

namespace {

QString ExactTitle(const QString& title) {
    return QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
}

QStringList Lines(const QByteArray& output) {
    return QString::fromLatin1(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace

QString XTools::WaitForWindow(const QString& title, int timeoutMilliseconds) const {
    QByteArray found;
    if (!Run(QStringLiteral("xdotool"),
             {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
              QStringLiteral("--name"), ExactTitle(title)},
             &found, {}, timeoutMilliseconds)) {
        return {};
    }
    return Lines(found).value(0);
}

QStringList XTools::VisibleWindows(const QString& title) const {
    QByteArray found;
    Run(QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
         ExactTitle(title)},
        &found);
    return Lines(found);
}

bool XTools::WaitUntilGone(const QString& title, const QStringList& windows,
                           int timeoutMilliseconds) const {
    QDeadlineTimer deadline(timeoutMilliseconds);
    while (!deadline.hasExpired()) {
        const QStringList visible = VisibleWindows(title);
        if (std::none_of(windows.begin(), windows.end(),
                         [&visible](const QString& window) { return visible.contains(window); })) {
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

QString XTools::WaitForNewWindow(const QString& title, const QStringList& seen,
                                 int timeoutMilliseconds) const {
    QDeadlineTimer deadline(timeoutMilliseconds);
    while (!deadline.hasExpired()) {
        for (const QString& window : VisibleWindows(title)) {
            if (!seen.contains(window)) return window;
        }
        QThread::msleep(50);
    }
    return {};
}

bool XTools::Type(const QString& window, const QString& text, const QStringList& keys) const {
    const QString xdotool = QStringLiteral("xdotool");
    if (!Run(xdotool, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window})) {
        return false;
    }
    if (!text.isEmpty() && !Run(xdotool, {QStringLiteral("type"), QStringLiteral("--delay"),
                                          QStringLiteral("20"), text})) {
        return false;
    }
    return keys.isEmpty() || Run(xdotool, QStringList{QStringLiteral("key")} + keys);
}

qint64 XTools::WindowProcess(const QString& window) const {
    QByteArray pid;
    if (!Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowpid"), window}, &pid)) return 0;
    return pid.trimmed().toLongLong();
}

QByteArray XTools::ClipboardText() const {
    QByteArray text;
    Run(QStringLiteral("xclip"),
        {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")}, &text);
    return text;
}

bool XTools::TakeClipboard(const QByteArray& text) const {
    return Run(QStringLiteral("xclip"),
               {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")},
               nullptr, text);
}
