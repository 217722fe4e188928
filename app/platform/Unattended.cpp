#include "app/platform/Unattended.h"

#include <QGuiApplication>

namespace app {

bool NobodyCanAnswer() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

}  // namespace app
