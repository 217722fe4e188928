#include "app/forms/StatusWindow.h"

#include "app/forms/StatusForm.h"

namespace app {

QtStatusWindow::QtStatusWindow() = default;

QtStatusWindow::~QtStatusWindow() = default;

StatusForm& QtStatusWindow::Ensure() {
    // A window closed from elsewhere (the main window's unload) counts as gone.
    if (!form_ || form_->isHidden()) form_ = std::make_unique<StatusForm>();
    return *form_;
}

void QtStatusWindow::Show() {
    Ensure();
}

void QtStatusWindow::SetText(const QString& text) {
    Ensure().SetCaption(text);
}

void QtStatusWindow::Close() {
    form_.reset();
}

void QtStatusWindow::TakeKeyboard() {
    StatusForm& form = Ensure();
    form.setWindowFlag(Qt::WindowDoesNotAcceptFocus, false);
    form.setAttribute(Qt::WA_ShowWithoutActivating, false);
    form.setFocusPolicy(Qt::StrongFocus);
    form.show();  // changed flags hide a window
    form.activateWindow();
    form.setFocus();
}

StatusForm* QtStatusWindow::Form() const {
    return form_ && !form_->isHidden() ? form_.get() : nullptr;
}

}  // namespace app
