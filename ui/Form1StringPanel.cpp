// The string panel of the main window, the clipboard buttons and About.
#include <QLineEdit>

#include "app/Global.h"
#include "app/StringProcedure.h"
#include "app/forms/PasswordForm.h"
#include "app/forms/PasswordPrompt.h"
#include "app/forms/StatusProgress.h"
#include "app/forms/StatusWindow.h"
#include "app/platform/Clipboard.h"
#include "app/platform/MessageBoxes.h"
#include "app/platform/Platform.h"
#include "cipher/SecureZero.h"
#include "ui/Form1.h"
#include "ui/UsageText.h"

bool Form1::EncStr_Click() {
    return RunStringAction(StringDirection::Encrypt);
}

bool Form1::DecStr_Click() {
    return RunStringAction(StringDirection::Decrypt);
}

bool Form1::RunStringAction(StringDirection direction) {
    stringStatus_ = kFailed;
    if (Global::CurrentPassword.empty()) platform_.prompt.Ask(PasswordForm::EnterCaption());
    if (Global::CurrentPassword.empty()) return false;

    StringOutcome outcome;
    {
        StatusProgress progress(platform_.status, platform_.pump);
        outcome = TransformString(direction, text3_->text().toStdU16String(),
                                  Global::CurrentPassword, &progress);
    }
    // A long text brings the status window up; it does not outlast the action.
    platform_.status.Close();
    if (!outcome.result) {
        // As after a completed action, the next string action asks for the password.
        cipher::Wipe(Global::CurrentPassword);
        if (outcome.wrongPassword) stringStatus_ = kWrongPassword;
        platform_.messages.Inform(outcome.failure);
        return false;
    }
    text4_->setText(*outcome.result);
    stringStatus_ = kCompleted;
    return true;
}

bool Form1::Copy2Clip_Click() {
    platform_.clipboard.Clear();
    platform_.clipboard.SetText(text4_->text());
    return true;
}

void Form1::mPaste_Click() {
    text3_->setText(platform_.clipboard.Text());
}

void Form1::mAbout_Click() {
    platform_.messages.Inform(UsageText());
}
