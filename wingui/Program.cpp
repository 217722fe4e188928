#include "wingui/Program.h"

#include "cipher/SecureZero.h"
#include "core/ExistingFile.h"
#include "core/UsageText.h"
#include "core/flows/FileFlow.h"
#include "core/flows/Outcome.h"
#include "core/flows/TextFlow.h"
#include "fileio/FileStore.h"

namespace wingui {

namespace {

constexpr bool kOverwrite = true;
constexpr bool kRawContainer = false;

std::u16string Joined(const std::vector<std::u16string>& arguments) {
    std::u16string text;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) text += u' ';
        text += arguments[i];
    }
    return text;
}

std::u16string AbsolutePath(const std::u16string& file) {
    const std::wstring wide = Wide(file);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return file;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return file;
    full.resize(length);
    return Narrow(full);
}

core::flows::FileRequest FileRequestOf(const Form1& form, core::flows::FileDirection direction,
                                       bool interactive, bool askBeforeReplacing) {
    core::flows::FileRequest request;
    request.direction = direction;
    request.source = form.Text(Form1::Text1);
    request.destination = form.Text(Form1::Text2);
    request.overwrite = kOverwrite;
    request.base64 = kRawContainer;
    // A source that is not there ends the action silently.
    request.sourceExists = &core::IsExistingFileOrMatch;
    // In the command-line mode the original goes without a question.
    request.wipe = interactive ? core::flows::WipePlan::Ask : core::flows::WipePlan::Always;
    // The window asks before it replaces another file; the "/" command line
    // replaces, as scripts expect.
    request.confirmReplace = interactive && askBeforeReplacing;
    return request;
}

}  // namespace

Program::Program() : frontEnd_(messages_), form_(*this, messages_) {}

Program::~Program() {
    cipher::Wipe(currentPassword_);
}

void Program::EncFile_Click() {
    // In the command-line mode the password is known, but it is still retyped.
    const core::flows::Outcome outcome =
        core::flows::EncryptFile(frontEnd_,
                                 FileRequestOf(form_, core::flows::FileDirection::Encrypt,
                                               InteractiveMode(), askBeforeReplacing_),
                                 {InteractiveMode(), true}, currentPassword_);
    fileStatus_ = static_cast<core::ExitStatus>(core::flows::Finish(frontEnd_, outcome));
}

void Program::DecFile_Click() {
    // The shared password itself: a decryption that was carried out empties it.
    const core::flows::Outcome outcome =
        core::flows::DecryptFile(frontEnd_,
                                 FileRequestOf(form_, core::flows::FileDirection::Decrypt,
                                               InteractiveMode(), askBeforeReplacing_),
                                 {InteractiveMode(), false}, currentPassword_);
    fileStatus_ = static_cast<core::ExitStatus>(core::flows::Finish(frontEnd_, outcome));
}

bool Program::RunStringAction(bool encrypt) {
    std::u16string result;
    const core::flows::Outcome outcome = core::flows::TransformText(
        frontEnd_,
        encrypt ? core::flows::TextDirection::Encrypt : core::flows::TextDirection::Decrypt,
        form_.Text(Form1::Text3), {currentPassword_.empty(), false}, currentPassword_, result);
    // A long text brings the status strip up; it does not outlast the action.
    frontEnd_.CloseStatus();
    if (outcome.ending == core::flows::Ending::Completed) form_.SetText(Form1::Text4, result);
    cipher::Wipe(result);
    stringStatus_ = static_cast<core::ExitStatus>(core::flows::Finish(frontEnd_, outcome));
    return outcome.ending == core::flows::Ending::Completed;
}

void Program::EncStr_Click() {
    RunStringAction(true);
}

void Program::DecStr_Click() {
    RunStringAction(false);
}

void Program::mAbout_Click() {
    messages_.Inform(core::usage::Text());
}

int Program::RunFileAction(bool encrypt) {
    fileStatus_ = core::kFailed;
    form_.RunAction([&] {
        if (encrypt) {
            EncFile_Click();
        } else {
            DecFile_Click();
        }
    });
    return fileStatus_;
}

int Program::RunCommand(const core::commandline::Command& command) {
    using core::commandline::Action;
    int status = core::kFailed;
    form_.RunAction([&] {
        form_.SetText(Form1::Text1, command.source);
        form_.SetText(Form1::Text2, command.destination);
        form_.SetText(Form1::Text3, command.text);
        currentPassword_ = command.password;
        askBeforeReplacing_ = false;
        // With "-ask" the actions behave as in the window: they prompt.
        if (command.askPassword) commandLine_.clear();
        switch (command.action) {
            case Action::EncryptFile:
                fileStatus_ = core::kFailed;
                EncFile_Click();
                status = fileStatus_;
                return;
            case Action::DecryptFile:
                fileStatus_ = core::kFailed;
                DecFile_Click();
                status = fileStatus_;
                return;
            case Action::EncryptString:
            case Action::DecryptString: {
                // The result goes to the clipboard, where it stays after the program has ended.
                stringStatus_ = core::kFailed;
                const bool converted = RunStringAction(command.action == Action::EncryptString);
                const bool copied = form_.Copy2Clip_Click();
                status = !converted ? stringStatus_ : copied ? core::kCompleted : core::kFailed;
                return;
            }
            case Action::Interactive:
            case Action::Usage:
                break;
        }
        mAbout_Click();
        status = core::kUsage;
    });
    return status;
}

int Program::Start(const std::vector<std::u16string>& arguments) {
    const std::u16string argumentText = Joined(arguments);
    if (!form_.Form_Load()) return core::kFailed;
    frontEnd_.SetMainWindow(form_.Handle());
    commandLine_ = argumentText;
    core::commandline::Command command = core::commandline::Parse(argumentText);
    // Arguments that are all empty (a script's empty variable) ask for no
    // window: nobody may be there to close it.
    if (command.action == core::commandline::Action::Interactive && !arguments.empty()) {
        command.action = core::commandline::Action::Usage;
    }
    if (command.action == core::commandline::Action::Interactive) return form_.ShowAndRun();
    const int status = RunCommand(command);
    cipher::Wipe(currentPassword_);
    form_.Close();
    return status;
}

int Program::RunFiles(bool encrypt, const std::vector<std::u16string>& files) {
    if (!form_.Form_Load()) return core::kFailed;
    frontEnd_.SetMainWindow(form_.Handle());
    commandLine_.clear();  // the window's own dialogue: prompts and questions
    if (files.empty()) {
        form_.RunAction([&] { form_.BrowseF_Click(); });
        if (form_.Text(Form1::Text1).empty()) return core::kFailed;  // nothing chosen
        return RunFileAction(encrypt);
    }
    int status = core::kCompleted;
    for (const std::u16string& file : files) {
        const std::u16string path = AbsolutePath(file);
        int fileStatus = core::kFailed;
        std::error_code invalid;
        fileio::ToPath(path, invalid);
        // An unusable name, a device or a pipe goes on to the action, which
        // explains it.
        if (!invalid && !core::IsExistingFileOrMatch(path) && !core::flows::IsOtherThanFile(path)) {
            messages_.Inform(u"There is no file " + path + u".");
        } else {
            form_.SetText(Form1::Text1, path);
            form_.DeriveDstFile();
            fileStatus = RunFileAction(encrypt);
        }
        status = core::flows::WorstStatus(status, fileStatus);
    }
    form_.Close();
    return status;
}

}  // namespace wingui
