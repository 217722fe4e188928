#pragma once

#include <functional>
#include <optional>
#include <string>

#include "wingui/Win32.h"

// The modal password prompt: a label, a box that shows every character as
// "*", OK and Cancel. Enter accepts and Escape cancels when the key is
// released, whichever control has the focus; OK and Cancel do the same when
// clicked, and closing the window cancels. Every activation brings the
// prompt to the top, puts the focus into the box and tells the caller
// (onActivate), which forgets any password it held.
namespace wingui {

// Shows the prompt over owner (which is disabled meanwhile) and waits until
// it closes. The typed text after accepting, nothing after cancelling.
std::optional<std::u16string> AskPassword(HWND owner, const std::u16string& labelCaption,
                                          const std::function<void()>& onActivate);

}  // namespace wingui
