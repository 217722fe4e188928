#include "cli/CliFrontEnd.h"

#include "cipher/SecureZero.h"
#include "cli/Descriptors.h"
#include "cli/PasswordSource.h"
#include "cli/Terminal.h"
#include "core/TerminationCleanup.h"
#include "core/Utf8.h"

namespace cli {

namespace {

constexpr std::size_t kMaxPasswordBytes = 4096;

// A message already worded by the password sources.
core::messages::Message AsIs(std::string text) {
    return {"%1", {std::move(text)}};
}

core::flows::PasswordAnswer Refused(core::flows::Ending ending, core::messages::Message message) {
    return {core::flows::PasswordReply::Refused, {ending, std::move(message)}};
}

}  // namespace

void Complain(const std::string& subject, const std::string& text) {
    const std::string line =
        "quillbox-cli: " + (subject.empty() ? "" : subject + ": ") + text + "\n";
    [[maybe_unused]] std::error_code ec = WriteAll(kStandardError, line.data(), line.size());
}

CliFrontEnd::CliFrontEnd(PasswordOption source, bool progress)
    : source_(std::move(source)), progress_(progress) {}

core::flows::PasswordAnswer CliFrontEnd::AskPassword(const core::flows::PasswordQuestion& question,
                                                     std::u16string& password) {
    if (question.again) return AskAgain(core::messages::Render(question.caption) + ": ", password);
    const PasswordResult result = ReadPassword(source_, false, password);
    if (result.status == core::kCompleted) return {};
    return Refused(
        result.status == core::kUsage ? core::flows::Ending::Usage : core::flows::Ending::Failed,
        AsIs(result.message));
}

// The confirmation, only ever asked on the terminal.
core::flows::PasswordAnswer CliFrontEnd::AskAgain(const std::string& prompt,
                                                  std::u16string& password) {
    std::string line, reason;
    line.reserve(kMaxPasswordBytes + 1);
    const cipher::WipedOnExit wipeLine(line);
    const TerminalAnswer answer = AskHidden(prompt.c_str(), line, kMaxPasswordBytes, reason);
    if (answer != TerminalAnswer::Read) {
        return Refused(core::flows::Ending::Failed,
                       {core::messages::kTerminalUnreadable,
                        {answer == TerminalAnswer::NoTerminal ? "there is no terminal" : reason}});
    }
    cipher::Wipe(password);
    std::optional<std::u16string> typed = core::DecodeUtf8(line);
    // Bytes that are not text cannot match the password, which was text.
    if (typed) password.swap(*typed);
    return {};
}

bool CliFrontEnd::AskYesNo(const core::messages::Message&, core::flows::DefaultAnswer) {
    return false;  // the options decide, and nobody is asked
}

void CliFrontEnd::Inform(const core::messages::Message& message) {
    if (bar_) bar_->Clear();
    Complain(subject_, core::messages::Render(message));
}

cipher::ProgressSink& CliFrontEnd::Progress() {
    if (!bar_) bar_.emplace(subject_, false);
    return *bar_;
}

void CliFrontEnd::BeginBusy() {
    bar_.emplace(subject_, progress_);
}

void CliFrontEnd::EndBusy() {
    if (bar_) bar_->Finish();
}

}  // namespace cli

namespace cli {

core::flows::StopRequest CliFrontEnd::TakeStopRequest() {
    return core::InterruptReceived() ? core::flows::StopRequest::Now
                                     : core::flows::StopRequest::None;
}

}  // namespace cli
