#include "gui/Startup.h"

#include <QApplication>
#include <QLineEdit>
#include <cstdio>

#include "app/ClipboardHandOff.h"
#include "app/Global.h"
#include "core/ArgumentText.h"
#include "ui/Form1.h"

namespace startup {

namespace {

using commandline::Action;

QString FromU16(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

void FillBoxes(Form1& form, const commandline::Command& command) {
    form.Text1()->setText(FromU16(command.source));
    form.Text2()->setText(FromU16(command.destination));
    form.Text3()->setText(FromU16(command.text));
    Global::CurrentPassword = command.password;
    // With "-ask" the actions behave as in the window: they prompt.
    if (command.askPassword) form.SetCommandLine(QString());
}

int StatusOf(bool completed) {
    return completed ? kCompleted : kFailed;
}

// The string actions end with the result on the clipboard, where it has to
// stay after this program has ended.
int RunStringAction(Form1& form, bool encrypt) {
    const bool converted = encrypt ? form.EncStr_Click() : form.DecStr_Click();
    const bool copied = form.Copy2Clip_Click();
    const bool kept = clipboardhandoff::KeepAfterExit(form.Text4()->text());
    if (!kept) std::fputs("Quillbox: the clipboard could not be kept after exit.\n", stderr);
    return StatusOf(converted && copied && kept);
}

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
    return kUsage;
}

}  // namespace

QStringList ProgramArguments(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromStdU16String(DecodeArgument(argv[i])));
    }
    return arguments;
}

QString ArgumentText(const QStringList& arguments) {
    return arguments.join(QLatin1Char(' '));
}

int RunCommand(Form1& form, const commandline::Command& command) {
    FillBoxes(form, command);
    return Dispatch(form, command.action);
}

int Start(Form1& form, const QStringList& arguments) {
    const QString argumentText = ArgumentText(arguments);
    form.Form_Load(argumentText);
    const commandline::Command command = commandline::Parse(argumentText.toStdU16String());
    if (command.action == Action::Interactive) {
        form.show();
        return QApplication::exec();
    }
    const int status = RunCommand(form, command);
    form.close();
    return status;
}

}  // namespace startup
