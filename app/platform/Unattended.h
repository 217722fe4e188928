#pragma once

namespace app {

// True when nobody can see or answer the program's windows: the offscreen
// platform, used by scripts and services that have no display. Modal boxes
// then must not wait for an answer.
bool NobodyCanAnswer();

}  // namespace app
