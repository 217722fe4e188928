#include "app/QtFrontEnd.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <utility>

#include "app/FailureMessages.h"
#include "app/Global.h"
#include "app/forms/PasswordPrompt.h"
#include "app/forms/StatusWindow.h"
#include "app/platform/MessageBoxes.h"
#include "app/platform/Platform.h"

namespace app {

namespace {
constexpr std::int32_t kHourglass = 1;
constexpr std::int32_t kDefaultPointer = 0;
}  // namespace

// Notes Escape pressed anywhere in the program while it is busy; the
// question that follows is a modal box, which gets its own keys.
class QtFrontEnd::EscapeWatch final : public QObject {
public:
    EscapeWatch() { qApp->installEventFilter(this); }
    ~EscapeWatch() override { qApp->removeEventFilter(this); }

    bool Take() { return std::exchange(pressed_, false); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && QApplication::activeModalWidget() == nullptr &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            pressed_ = true;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool pressed_ = false;
};

QtFrontEnd::QtFrontEnd(Platform& platform, QWidget& mainWindow)
    : platform_(platform), mainWindow_(mainWindow), progress_(platform.status, platform.pump) {}

QtFrontEnd::~QtFrontEnd() = default;

core::flows::StopRequest QtFrontEnd::TakeStopRequest() {
    return escape_ && escape_->Take() ? core::flows::StopRequest::Confirm
                                      : core::flows::StopRequest::None;
}

core::flows::PasswordAnswer QtFrontEnd::AskPassword(const core::flows::PasswordQuestion& question,
                                                    std::u16string& password) {
    // Where nobody can type, the prompt says so itself and counts as cancelled.
    const bool canAsk = platform_.prompt.CanAsk();
    platform_.prompt.Ask(failure::Translated(question.caption),
                         failure::Translated(question.title));
    if (&password != &Global::CurrentPassword) password = Global::CurrentPassword;
    if (!canAsk) return {core::flows::PasswordReply::Refused, core::flows::Declined()};
    if (password.empty()) return {core::flows::PasswordReply::Cancelled, {}};
    return {};
}

bool QtFrontEnd::AskYesNo(const core::messages::Message& question,
                          core::flows::DefaultAnswer preselected) {
    return platform_.messages.AskYesNo(failure::Translated(question), preselected);
}

void QtFrontEnd::Inform(const core::messages::Message& message) {
    platform_.messages.Inform(failure::Translated(message));
}

void QtFrontEnd::BeginBusy() {
    Global::SetCursorState(kHourglass, platform_.pointer);
    mainWindow_.setEnabled(false);
    platform_.status.Show();
    if (qApp != nullptr) escape_ = std::make_unique<EscapeWatch>();
    // Without the window (the file-manager entries) the strip takes the keys.
    if (!mainWindow_.isVisible()) platform_.status.TakeKeyboard();
}

void QtFrontEnd::EndBusy() {
    escape_.reset();
    mainWindow_.setEnabled(true);
    platform_.status.Close();
    Global::SetCursorState(kDefaultPointer, platform_.pointer);
}

}  // namespace app
