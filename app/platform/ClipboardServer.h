#pragma once

#include <QStringList>

namespace app {

// On X11 and on Wayland the clipboard is not a store: it belongs to a running
// program, and its text is gone when that program ends. After a command-line string
// operation the program starts a copy of itself as a small background server
// that keeps offering the text until another program takes the clipboard over
// (a clipboard manager, or the user copying something else), the way
// command-line clipboard tools do.
namespace clipboardserver {

// The hidden argument that starts the server. It is never typed by users; the
// program passes it to its own executable.
inline constexpr char kServeArgument[] = "--quillbox-serve-clipboard";

// The server writes this byte to its standard output once it owns the clipboard.
inline constexpr char kReadySignal = '1';

// True when the arguments (without the program name) ask for the server.
bool IsServerInvocation(const QStringList& arguments);

// Runs the server; a QGuiApplication must exist. Reads UTF-8 text from
// standard input until it ends, owns the clipboard with that text, reports
// readiness and returns when another program owns the clipboard. Returns 0
// then, or 1 when it never got hold of the clipboard.
int Serve();

}  // namespace clipboardserver

}  // namespace app
