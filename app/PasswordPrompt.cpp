#include "app/PasswordPrompt.h"

#include "app/ErrorOutput.h"
#include "app/Global.h"
#include "app/PasswordForm.h"

void QtPasswordPrompt::Ask(const QString& labelCaption) {
    if (unattended_) {
        // Nobody could type into the prompt: the same as cancelling it.
        Global::CurrentPassword.clear();
        WriteErrorOutput(
            QStringLiteral("No display to ask for the password on; nothing was done."));
        return;
    }
    PasswordForm form;
    form.SetLabel(labelCaption);
    form.exec();
}
