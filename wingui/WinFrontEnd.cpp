#include "wingui/WinFrontEnd.h"

#include "cipher/SecureZero.h"
#include "core/Utf8.h"
#include "wingui/PasswordForm.h"

namespace wingui {

std::u16string TextOf(const core::messages::Message& message) {
    return core::DecodeArgument(core::messages::Render(message));
}

core::flows::PasswordAnswer WinFrontEnd::AskPassword(const core::flows::PasswordQuestion& question,
                                                     std::u16string& password) {
    // Every activation of the prompt forgets the password held so far.
    std::optional<std::u16string> typed =
        wingui::AskPassword(mainWindow_, TextOf(question.caption), [&] { cipher::Wipe(password); });
    cipher::Wipe(password);
    if (!typed) return {core::flows::PasswordReply::Cancelled, {}};
    password.swap(*typed);
    cipher::Wipe(*typed);
    return {core::flows::PasswordReply::Typed, {}};
}

bool WinFrontEnd::AskYesNo(const core::messages::Message& question,
                           core::flows::DefaultAnswer preselected) {
    return messages_.AskYesNo(TextOf(question), preselected == core::flows::DefaultAnswer::Yes);
}

void WinFrontEnd::Inform(const core::messages::Message& message) {
    messages_.Inform(TextOf(message));
}

void WinFrontEnd::BeginBusy() {
    SetBusyPointer(true);
    mainWasEnabled_ = mainWindow_ != nullptr && !EnableWindow(mainWindow_, FALSE);
    status_.Show();
    WatchEscape(true);
}

void WinFrontEnd::EndBusy() {
    WatchEscape(false);
    status_.Close();
    if (mainWasEnabled_) EnableWindow(mainWindow_, TRUE);
    mainWasEnabled_ = false;
    SetBusyPointer(false);
}

core::flows::StopRequest WinFrontEnd::TakeStopRequest() {
    return TakeEscape() ? core::flows::StopRequest::Confirm : core::flows::StopRequest::None;
}

void WinFrontEnd::Progress(std::int32_t&) {}

void WinFrontEnd::SetStatusText(const std::u16string& text) {
    status_.SetText(text);
}

void WinFrontEnd::PumpEvents() {
    wingui::PumpEvents();
}

}  // namespace wingui
