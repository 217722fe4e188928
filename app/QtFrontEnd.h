#pragma once

#include <memory>

#include "app/forms/StatusProgress.h"
#include "core/flows/FrontEnd.h"

class QWidget;

namespace app {

struct Platform;

// The flows' front end in the Qt window: PasswordForm through the password
// prompt (its answer in Global::CurrentPassword), the message boxes, and the
// status strip with the hourglass and the main window disabled while a file
// is worked on; Escape then asks whether to stop. Every text is translated
// before its arguments go in.
class QtFrontEnd final : public core::flows::FrontEnd {
public:
    QtFrontEnd(Platform& platform, QWidget& mainWindow);
    ~QtFrontEnd() override;

    // The prompt leaves its answer in Global::CurrentPassword; it is copied
    // into password unless that is the shared password itself.
    core::flows::PasswordAnswer AskPassword(const core::flows::PasswordQuestion& question,
                                            std::u16string& password) override;
    bool AskYesNo(const core::messages::Message& question,
                  core::flows::DefaultAnswer preselected) override;
    void Inform(const core::messages::Message& message) override;
    cipher::ProgressSink& Progress() override { return progress_; }
    void BeginBusy() override;
    void EndBusy() override;
    // Escape pressed while the status strip shows, once for each press.
    core::flows::StopRequest TakeStopRequest() override;

private:
    class EscapeWatch;

    Platform& platform_;
    QWidget& mainWindow_;
    StatusProgress progress_;
    std::unique_ptr<EscapeWatch> escape_;
};

}  // namespace app
