#pragma once

#include <optional>
#include <string>

#include "cli/Options.h"
#include "cli/ProgressBar.h"
#include "core/flows/FrontEnd.h"

namespace cli {

// The flows' front end on a terminal: the password from the source the user
// chose (the terminal, asked with echo off, or a descriptor, a file, the
// environment), messages on standard error as "quillbox-cli: SUBJECT: text",
// and progress as a bar on standard error while a file is worked on.
class CliFrontEnd final : public core::flows::FrontEnd {
public:
    // progress: a bar may be drawn (standard error is a terminal and --quiet
    // was not given).
    CliFrontEnd(PasswordOption source, bool progress);

    // What the next messages are about (a file name), and the bar's label;
    // empty for none.
    void SetSubject(std::string subject) { subject_ = std::move(subject); }

    core::flows::PasswordAnswer AskPassword(const core::flows::PasswordQuestion& question,
                                            std::u16string& password) override;
    bool AskYesNo(const core::messages::Message& question,
                  core::flows::DefaultAnswer preselected) override;
    void Inform(const core::messages::Message& message) override;
    cipher::ProgressSink& Progress() override;
    void BeginBusy() override;
    void EndBusy() override;
    // An interrupt, where it stops the operation instead of the program.
    core::flows::StopRequest TakeStopRequest() override;

private:
    core::flows::PasswordAnswer AskAgain(const std::string& prompt, std::u16string& password);

    PasswordOption source_;
    bool progress_;
    std::string subject_;
    std::optional<ProgressBar> bar_;
};

// Writes "quillbox-cli: SUBJECT: text" (or without the subject) to standard error.
void Complain(const std::string& subject, const std::string& text);

}  // namespace cli
