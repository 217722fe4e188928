#pragma once

namespace gui::startup {

// Overwrites the program's argument strings (all but its name) with zero
// bytes, so that process listings (ps, /proc/PID/cmdline) no longer show
// them, a password among them. Call it as soon as they have been read.
void HideArguments(int argc, char** argv);

}  // namespace gui::startup
