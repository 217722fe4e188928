// The string panel of the main window, the clipboard buttons and About.
#include <QLineEdit>

#include "app/Global.h"
#include "app/forms/StatusWindow.h"
#include "app/platform/Clipboard.h"
#include "app/platform/MessageBoxes.h"
#include "app/platform/Platform.h"
#include "cipher/SecureZero.h"
#include "ui/Form1.h"
#include "ui/UsageText.h"

bool Form1::EncStr_Click() {
    return RunStringAction(core::flows::TextDirection::Encrypt);
}

bool Form1::DecStr_Click() {
    return RunStringAction(core::flows::TextDirection::Decrypt);
}

bool Form1::RunStringAction(core::flows::TextDirection direction) {
    std::u16string result;
    const cipher::WipedOnExit wipeResult(result);
    // A single prompt, and only without a password; the shared password itself
    // goes to the engine, so the next string action asks again.
    const core::flows::Outcome outcome = core::flows::TransformText(
        frontEnd_, direction, text3_->text().toStdU16String(),
        {Global::CurrentPassword.empty(), false}, Global::CurrentPassword, result);
    // A long text brings the status window up; it does not outlast the action.
    platform_.status.Close();
    stringStatus_ = static_cast<core::ExitStatus>(core::flows::Finish(frontEnd_, outcome));
    if (outcome.ending != core::flows::Ending::Completed) return false;
    text4_->setText(QString::fromStdU16String(result));
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
    platform_.messages.Inform(ui::UsageText());
}
