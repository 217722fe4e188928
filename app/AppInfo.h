#pragma once

#include <QString>

namespace app {

// The application title (window captions, message box titles) and version.
inline const QString kApplicationTitle = QStringLiteral("Quillbox");
inline const QString kApplicationVersion = QStringLiteral(QUILLBOX_VERSION);

}  // namespace app
