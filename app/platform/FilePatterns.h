#pragma once

#include <QString>

namespace app {

// The pattern that matches every file name on this platform: "*" where a
// name need not have an extension, "*.*" on Windows.
QString AllFilesPattern();

}  // namespace app
