#pragma once

#include <QString>

namespace app {

// Keeps text on the clipboard of a Wayland session for as long as this
// process lives.
namespace waylandselection {

// True when the program runs as a native Wayland client.
bool OnWayland();

// Takes the clipboard with text, calls ready() once the compositor has it,
// then serves the text to every program that pastes until another program
// takes the clipboard. Returns 0 then, or 1 when the compositor never took
// the text. A QGuiApplication on the Wayland platform must exist.
int Serve(const QString& text, void (*ready)());

}  // namespace waylandselection

}  // namespace app
