#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "wingui/Win32.h"

// The platform services of the window program on Windows: message boxes,
// the clipboard, the file-open dialog, the event pump, the program-wide
// hourglass and the error output.
namespace wingui {

// The application title: captions and message box titles.
inline constexpr const wchar_t* kTitle = L"Quillbox";

// A message box titled "Quillbox" without an icon. With echo on (outside the
// window, where a terminal or script waits) the text goes to standard error
// as well.
class MessageBoxes {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void SetEchoToErrorOutput(bool echo) { echo_ = echo; }
    // OK only.
    void Inform(std::u16string_view text) const;
    // Yes and No, with Yes or No preselected; true for Yes.
    bool AskYesNo(std::u16string_view question, bool yesPreselected = true) const;

private:
    HWND Owner() const;

    HWND owner_ = nullptr;
    bool echo_ = false;
};

// The clipboard as plain (UTF-16) text.
namespace clipboard {
// Empties the clipboard and puts text on it; false when the clipboard could not be opened.
bool Replace(HWND owner, std::u16string_view text);
// The text on the clipboard, empty when there is none.
std::u16string Text(HWND owner);
}  // namespace clipboard

// The file-open dialog of Browse with its three filters; nothing when cancelled.
std::optional<std::u16string> ChooseFileToOpen(HWND owner);

// Runs the pending window events, then returns. A request to quit is kept
// for the main loop. While Escape is watched, an Escape key pressed in any
// window of the program is kept for TakeEscape instead of being delivered.
void PumpEvents();
void WatchEscape(bool on);
bool TakeEscape();

// The hourglass over every window of the program while on. Each window
// procedure asks ShowBusyPointer on WM_SETCURSOR.
void SetBusyPointer(bool busy);
bool ShowBusyPointer();

// Writes text and a line feed as UTF-8 to standard output or standard error,
// which the program has when a console or a pipe started it.
void WriteOutput(bool toErrorOutput, std::u16string_view text);

}  // namespace wingui
