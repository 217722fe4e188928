#include "app/platform/ErrorOutput.h"

#include <cstdio>

#include "app/AppInfo.h"

namespace app {

void WriteErrorOutput(const QString& text) {
    QString line = kApplicationTitle + QStringLiteral(": ") + text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!line.endsWith(QLatin1Char('\n'))) line += QLatin1Char('\n');
    const QByteArray bytes = line.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

}  // namespace app
