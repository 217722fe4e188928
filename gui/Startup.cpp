#include "gui/Startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>

#include "app/Global.h"
#include "app/platform/ClipboardHandOff.h"
#include "app/platform/MessageBoxes.h"
#include "core/Utf8.h"
#include "core/flows/FileSet.h"
#include "core/flows/Outcome.h"
#include "fileio/FileStore.h"
#include "gui/StrayKeyReleases.h"
#include "ui/Form1.h"

namespace gui::startup {

namespace {

using core::commandline::Action;

QString FromU16(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

void FillBoxes(Form1& form, const core::commandline::Command& command) {
    form.Text1()->setText(FromU16(command.source));
    form.Text2()->setText(FromU16(command.destination));
    form.Text3()->setText(FromU16(command.text));
    Global::CurrentPassword = command.password;
    // With "-ask" the actions behave as in the window: they prompt.
    if (command.askPassword) form.SetCommandLine(QString());
}

int StatusOf(bool completed) {
    return completed ? core::kCompleted : core::kFailed;
}

// The string actions end with the result on the clipboard, where it has to
// stay after this program has ended.
int RunStringAction(Form1& form, bool encrypt) {
    const bool converted = encrypt ? form.EncStr_Click() : form.DecStr_Click();
    const bool copied = form.Copy2Clip_Click();
    const bool kept = app::clipboardhandoff::KeepAfterExit(form.Text4()->text());
    if (!kept) {
        std::fputs(qPrintable(QCoreApplication::translate(
                       "Startup", "Quillbox: the clipboard could not be kept after exit.\n")),
                   stderr);
    }
    if (!converted) return form.StringActionStatus();
    return StatusOf(copied && kept);
}

// One file action as the button runs it, inside the action boundary; the
// status tells how it ended.
int RunFileAction(Form1& form, bool encrypt) {
    int status = core::kFailed;
    form.RunAction([&] {
        if (encrypt) {
            form.EncFile_Click();
        } else {
            form.DecFile_Click();
        }
        status = form.FileActionStatus();
    });
    return status;
}

// A file whose action is still to run.
constexpr int kNotStarted = -1;

int Dispatch(Form1& form, Action action) {
    switch (action) {
        case Action::EncryptFile:
            form.EncFile_Click();
            return form.FileActionStatus();
        case Action::DecryptFile:
            form.DecFile_Click();
            return form.FileActionStatus();
        case Action::EncryptString:
            return RunStringAction(form, true);
        case Action::DecryptString:
            return RunStringAction(form, false);
        case Action::Interactive:
        case Action::Usage:
            break;
    }
    form.mAbout_Click();
    return core::kUsage;
}

// Files and folders together: one set, one password, one summary.
int RunFileSet(Form1& form, bool encrypt, const QStringList& files) {
    std::vector<std::string> names;
    for (const QString& file : files) {
        names.push_back(core::EncodeUtf8(QFileInfo(file).absoluteFilePath().toStdU16String()));
    }
    int status = core::kFailed;
    form.RunAction([&] {
        status = form.RunFileSet(core::flows::PlanSet(
            names,
            encrypt ? core::flows::FileDirection::Encrypt : core::flows::FileDirection::Decrypt,
            false));
    });
    return status;
}

}  // namespace

QStringList ProgramArguments(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromStdU16String(core::DecodeArgument(argv[i])));
    }
    return arguments;
}

QString ArgumentText(const QStringList& arguments) {
    return arguments.join(QLatin1Char(' '));
}

int RunCommand(Form1& form, const core::commandline::Command& command) {
    int status = core::kFailed;
    // Scripts rely on the command line replacing an existing destination.
    form.SetAskBeforeReplacing(false);
    form.RunAction([&] {
        FillBoxes(form, command);
        status = Dispatch(form, command.action);
    });
    return status;
}

int RunFiles(Form1& form, app::MessageBoxes& boxes, bool encrypt, const QStringList& files) {
    form.SetCommandLine(QString());  // the window's own dialogue: prompts and questions
    // With several files each prompt says which one it is for.
    form.SetNameFileInPrompts(files.size() > 1);
    // Between two files no window of the program is open; that must not end
    // the program, nor cancel the next file's prompt.
    QApplication::setQuitOnLastWindowClosed(false);
    const StrayKeyReleases strayKeys;
    if (files.isEmpty()) {
        form.RunAction([&] { form.BrowseF_Click(); });
        if (form.Text1()->text().isEmpty()) return core::kFailed;  // nothing chosen
        return RunFileAction(form, encrypt);
    }
    if (std::any_of(files.begin(), files.end(),
                    [](const QString& file) { return QFileInfo(file).isDir(); })) {
        return RunFileSet(form, encrypt, files);
    }
    int status = core::kCompleted;
    for (const QString& file : files) {
        int fileStatus = core::kFailed;
        form.RunAction([&] {
            const QString path = QFileInfo(file).absoluteFilePath();
            std::error_code invalid;
            fileio::ToPath(path.toStdU16String(), invalid);
            // An unusable name, a device or a pipe goes on to the action,
            // which explains it.
            const std::u16string name = path.toStdU16String();
            if (!invalid && !Global::FileExists(name) && !core::flows::IsOtherThanFile(name)) {
                boxes.Inform(
                    QCoreApplication::translate("Startup", "There is no file %1.").arg(path));
                return;
            }
            form.Text1()->setText(path);
            form.DeriveDstFile();
            fileStatus = kNotStarted;
        });
        if (fileStatus == kNotStarted) fileStatus = RunFileAction(form, encrypt);
        status = core::flows::WorstStatus(status, fileStatus);
    }
    return status;
}

int Start(Form1& form, const QStringList& arguments) {
    const QString argumentText = ArgumentText(arguments);
    form.Form_Load(argumentText);
    core::commandline::Command command = core::commandline::Parse(argumentText.toStdU16String());
    // Arguments that are all empty (a script's empty variable) ask for no
    // window: nobody may be there to close it.
    if (command.action == Action::Interactive && !arguments.isEmpty()) {
        command.action = Action::Usage;
    }
    if (command.action == Action::Interactive) {
        form.show();
        return QApplication::exec();
    }
    const int status = RunCommand(form, command);
    form.close();
    return status;
}

}  // namespace gui::startup
