#include "app/forms/PasswordPrompt.h"

#include "app/Global.h"
#include "app/forms/PasswordForm.h"
#include "app/platform/ErrorOutput.h"
#include "cipher/SecureZero.h"

namespace app {

void QtPasswordPrompt::Ask(const QString& labelCaption, const QString& title) {
    if (unattended_) {
        // Nobody could type into the prompt: the same as cancelling it.
        cipher::Wipe(Global::CurrentPassword);
        WriteErrorOutput(
            QStringLiteral("No display to ask for the password on; nothing was done."));
        return;
    }
    PasswordForm form;
    form.SetLabel(labelCaption);
    form.SetTitle(title);
    form.exec();
}

}  // namespace app
