#include "app/platform/FilePatterns.h"

namespace app {

// README, Makefile and id_ed25519 have no dot: "*.*" would hide them.
QString AllFilesPattern() {
    return QStringLiteral("*");
}

}  // namespace app
