#pragma once

#include <string>

namespace core {

// True when path names an existing regular file. Folders, devices, sockets
// and other special files do not count. A wildcard pattern ("*" and "?" in
// the last component) counts when a regular file in its folder matches it.
// The window programs' file actions end silently on a source it refuses.
bool IsExistingFileOrMatch(const std::u16string& path);

}  // namespace core
