#include "app/QtFrontEnd.h"

#include <QWidget>

#include "app/FailureMessages.h"
#include "app/Global.h"
#include "app/forms/PasswordPrompt.h"
#include "app/forms/StatusWindow.h"
#include "app/platform/MessageBoxes.h"
#include "app/platform/Platform.h"

namespace {
constexpr std::int32_t kHourglass = 1;
constexpr std::int32_t kDefaultPointer = 0;
}  // namespace

QtFrontEnd::QtFrontEnd(Platform& platform, QWidget& mainWindow)
    : platform_(platform), mainWindow_(mainWindow), progress_(platform.status, platform.pump) {}

flows::PasswordAnswer QtFrontEnd::AskPassword(const flows::PasswordQuestion& question,
                                              std::u16string& password) {
    // Where nobody can type, the prompt says so itself and counts as cancelled.
    const bool canAsk = platform_.prompt.CanAsk();
    platform_.prompt.Ask(failure::Translated(question.caption),
                         failure::Translated(question.title));
    if (&password != &Global::CurrentPassword) password = Global::CurrentPassword;
    if (!canAsk) return {flows::PasswordReply::Refused, flows::Declined()};
    if (password.empty()) return {flows::PasswordReply::Cancelled, {}};
    return {};
}

bool QtFrontEnd::AskYesNo(const messages::Message& question, flows::DefaultAnswer preselected) {
    return platform_.messages.AskYesNo(failure::Translated(question), preselected);
}

void QtFrontEnd::Inform(const messages::Message& message) {
    platform_.messages.Inform(failure::Translated(message));
}

void QtFrontEnd::BeginBusy() {
    Global::SetCursorState(kHourglass, platform_.pointer);
    mainWindow_.setEnabled(false);
    platform_.status.Show();
}

void QtFrontEnd::EndBusy() {
    mainWindow_.setEnabled(true);
    platform_.status.Close();
    Global::SetCursorState(kDefaultPointer, platform_.pointer);
}
