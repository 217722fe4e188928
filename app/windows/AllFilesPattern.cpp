#include "app/FilePatterns.h"

// The Windows file dialog matches "*.*" against names without a dot too.
QString AllFilesPattern() {
    return QStringLiteral("*.*");
}
