#include "wingui/Program.h"

#include "cipher/SecureZero.h"
#include "core/ExistingFile.h"
#include "core/UsageText.h"
#include "core/flows/FileFlow.h"
#include "core/flows/Outcome.h"
#include "core/flows/TextFlow.h"
#include "fileio/FileStore.h"

namespace win {

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

flows::FileRequest FileRequestOf(const Form1& form, flows::FileDirection direction,
                                 bool interactive, bool askBeforeReplacing) {
    flows::FileRequest request;
    request.direction = direction;
    request.source = form.Text(Form1::Text1);
    request.destination = form.Text(Form1::Text2);
    request.overwrite = kOverwrite;
    request.base64 = kRawContainer;
    // A source that is not there ends the action silently.
    request.sourceExists = &IsExistingFileOrMatch;
    // In the command-line mode the original goes without a question.
    request.wipe = interactive ? flows::WipePlan::Ask : flows::WipePlan::Always;
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
    const flows::Outcome outcome = flows::EncryptFile(
        frontEnd_,
        FileRequestOf(form_, flows::FileDirection::Encrypt, InteractiveMode(), askBeforeReplacing_),
        {InteractiveMode(), true}, currentPassword_);
    fileStatus_ = static_cast<ExitStatus>(flows::Finish(frontEnd_, outcome));
}

void Program::DecFile_Click() {
    // The shared password itself: a decryption that was carried out empties it.
    const flows::Outcome outcome = flows::DecryptFile(
        frontEnd_,
        FileRequestOf(form_, flows::FileDirection::Decrypt, InteractiveMode(), askBeforeReplacing_),
        {InteractiveMode(), false}, currentPassword_);
    fileStatus_ = static_cast<ExitStatus>(flows::Finish(frontEnd_, outcome));
}

bool Program::RunStringAction(bool encrypt) {
    std::u16string result;
    const flows::Outcome outcome = flows::TransformText(
        frontEnd_, encrypt ? flows::TextDirection::Encrypt : flows::TextDirection::Decrypt,
        form_.Text(Form1::Text3), {currentPassword_.empty(), false}, currentPassword_, result);
    // A long text brings the status strip up; it does not outlast the action.
    frontEnd_.CloseStatus();
    if (outcome.ending == flows::Ending::Completed) form_.SetText(Form1::Text4, result);
    cipher::Wipe(result);
    stringStatus_ = static_cast<ExitStatus>(flows::Finish(frontEnd_, outcome));
    return outcome.ending == flows::Ending::Completed;
}

void Program::EncStr_Click() {
    RunStringAction(true);
}

void Program::DecStr_Click() {
    RunStringAction(false);
}

void Program::mAbout_Click() {
    messages_.Inform(usage::Text());
}

int Program::RunFileAction(bool encrypt) {
    fileStatus_ = kFailed;
    form_.RunAction([&] {
        if (encrypt) {
            EncFile_Click();
        } else {
            DecFile_Click();
        }
    });
    return fileStatus_;
}

int Program::RunCommand(const commandline::Command& command) {
    using commandline::Action;
    int status = kFailed;
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
                fileStatus_ = kFailed;
                EncFile_Click();
                status = fileStatus_;
                return;
            case Action::DecryptFile:
                fileStatus_ = kFailed;
                DecFile_Click();
                status = fileStatus_;
                return;
            case Action::EncryptString:
            case Action::DecryptString: {
                // The result goes to the clipboard, where it stays after the program has ended.
                stringStatus_ = kFailed;
                const bool converted = RunStringAction(command.action == Action::EncryptString);
                const bool copied = form_.Copy2Clip_Click();
                status = !converted ? stringStatus_ : copied ? kCompleted : kFailed;
                return;
            }
            case Action::Interactive:
            case Action::Usage:
                break;
        }
        mAbout_Click();
        status = kUsage;
    });
    return status;
}

int Program::Start(const std::vector<std::u16string>& arguments) {
    const std::u16string argumentText = Joined(arguments);
    if (!form_.Form_Load()) return kFailed;
    frontEnd_.SetMainWindow(form_.Handle());
    commandLine_ = argumentText;
    commandline::Command command = commandline::Parse(argumentText);
    // Arguments that are all empty (a script's empty variable) ask for no
    // window: nobody may be there to close it.
    if (command.action == commandline::Action::Interactive && !arguments.empty()) {
        command.action = commandline::Action::Usage;
    }
    if (command.action == commandline::Action::Interactive) return form_.ShowAndRun();
    const int status = RunCommand(command);
    cipher::Wipe(currentPassword_);
    form_.Close();
    return status;
}

int Program::RunFiles(bool encrypt, const std::vector<std::u16string>& files) {
    if (!form_.Form_Load()) return kFailed;
    frontEnd_.SetMainWindow(form_.Handle());
    commandLine_.clear();  // the window's own dialogue: prompts and questions
    if (files.empty()) {
        form_.RunAction([&] { form_.BrowseF_Click(); });
        if (form_.Text(Form1::Text1).empty()) return kFailed;  // nothing chosen
        return RunFileAction(encrypt);
    }
    int status = kCompleted;
    for (const std::u16string& file : files) {
        const std::u16string path = AbsolutePath(file);
        int fileStatus = kFailed;
        std::error_code invalid;
        fileio::ToPath(path, invalid);
        // An unusable name, a device or a pipe goes on to the action, which
        // explains it.
        if (!invalid && !IsExistingFileOrMatch(path) && !flows::IsOtherThanFile(path)) {
            messages_.Inform(u"There is no file " + path + u".");
        } else {
            form_.SetText(Form1::Text1, path);
            form_.DeriveDstFile();
            fileStatus = RunFileAction(encrypt);
        }
        status = flows::WorstStatus(status, fileStatus);
    }
    form_.Close();
    return status;
}

}  // namespace win
