#pragma once

#include <QString>

namespace app {

// Makes text that this program put on the clipboard outlive the program.
namespace clipboardhandoff {

// True when the platform's clipboard dies with the program that owns it
// (X11 and Wayland). Elsewhere the system keeps the text by itself, and under
// the offscreen platform there is nothing to keep.
bool ClipboardDiesWithOwner(const QString& platformName);

// Starts a detached clipboard server (the given executable run with the
// hidden server argument), hands it the text and waits, at most
// timeoutMilliseconds, until it owns the clipboard. True when it does.
bool StartServer(const QString& executable, const QString& text, int timeoutMilliseconds);

// When needed on this platform and the text is not empty, hands the
// clipboard text to a server started from this program's executable. True
// when the text stays available after the program ends.
bool KeepAfterExit(const QString& text);

}  // namespace clipboardhandoff

}  // namespace app
