#pragma once

#include <QString>

// The pattern that matches every file name on this platform: "*" where a
// name need not have an extension, "*.*" on Windows.
QString AllFilesPattern();
