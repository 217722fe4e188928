#pragma once

#include "core/flows/FrontEnd.h"
#include "wingui/Services.h"
#include "wingui/StatusForm.h"
#include "wingui/Win32.h"

// The flows' front end in the Win32 window program: the password prompt,
// message boxes titled "Quillbox", and while a file is worked on the yellow
// status strip, the hourglass and the main window disabled.
namespace wingui {

class WinFrontEnd final : public core::flows::FrontEnd, private cipher::ProgressSink {
public:
    explicit WinFrontEnd(MessageBoxes& messages) : messages_(messages) {}

    // The window the prompt and the boxes belong to, and that is disabled while busy.
    void SetMainWindow(HWND window) { mainWindow_ = window; }
    // Closes the status strip (after a text action, which may bring it up).
    void CloseStatus() { status_.Close(); }

    core::flows::PasswordAnswer AskPassword(const core::flows::PasswordQuestion& question,
                                            std::u16string& password) override;
    bool AskYesNo(const core::messages::Message& question,
                  core::flows::DefaultAnswer preselected) override;
    void Inform(const core::messages::Message& message) override;
    cipher::ProgressSink& Progress() override { return *this; }
    void BeginBusy() override;
    void EndBusy() override;
    // Escape pressed while the strip shows: the flow asks whether to stop.
    core::flows::StopRequest TakeStopRequest() override;

private:
    void Progress(std::int32_t& Percent) override;
    void SetStatusText(const std::u16string& text) override;
    void PumpEvents() override;

    MessageBoxes& messages_;
    StatusForm status_;
    HWND mainWindow_ = nullptr;
    bool mainWasEnabled_ = false;
};

// A shared message as the user reads it.
std::u16string TextOf(const core::messages::Message& message);

}  // namespace wingui
