#pragma once

#include <cstdint>
#include <string>

namespace app {
class PointerControl;
}

// State and procedures that every window of the program shares.
namespace Global {

// The one shared password. Empty means "no password" to every reader.
extern std::u16string CurrentPassword;

// True when path names an existing regular file. Directories, devices, sockets
// and other special files do not count. A wildcard pattern ("*" and "?" in the
// last component) counts when a regular file in its folder matches it.
bool FileExists(const std::u16string& path);

// Program-wide pointer:
//   0  remove the pointer override (every window shows its own pointer)
//   1  hourglass over all windows of the program
//   2  lower the cursor display count (the pointer is blank while it is below zero)
//   3  raise the cursor display count
// Any other code changes nothing and gives false.
bool SetCursorState(const std::int32_t& code, app::PointerControl& pointer);

// The cursor display count that codes 2 and 3 move; starts at zero.
int CursorDisplayCount();

}  // namespace Global
