#include "app/PasswordPrompt.h"

#include "app/PasswordForm.h"

void QtPasswordPrompt::Ask(const QString& labelCaption) {
    PasswordForm form;
    form.SetLabel(labelCaption);
    form.exec();
}
