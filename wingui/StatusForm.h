#pragma once

#include <string>

#include "wingui/Win32.h"

// The status strip: a yellow borderless window in the top-left corner of the
// screen, above all others, that shows the progress text ("Working... NN%").
// It never takes the focus, and the pointer over it is the hourglass.
namespace wingui {

class StatusForm {
public:
    StatusForm() = default;
    ~StatusForm();
    StatusForm(const StatusForm&) = delete;
    StatusForm& operator=(const StatusForm&) = delete;

    // Shows the strip, creating it if needed.
    void Show();
    // Sets the text, creating and showing the strip if needed; repaints at once.
    void SetText(const std::u16string& text);
    // Closes the strip if it is open.
    void Close();

    HWND Handle() const { return window_; }

private:
    void Ensure();

    HWND window_ = nullptr;
};

}  // namespace wingui
