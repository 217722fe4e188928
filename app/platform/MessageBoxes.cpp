#include "app/platform/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include "app/AppInfo.h"
#include "app/platform/ErrorOutput.h"

namespace app {

namespace {

// The program's window that the box belongs to: it stays above that window
// and nothing else.
QWidget* Owner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

int Show(const QString& text, QMessageBox::StandardButtons buttons,
         QMessageBox::StandardButton preselected) {
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, text, buttons, Owner());
    box.setDefaultButton(preselected);
    return box.exec();
}

}  // namespace

void QtMessageBoxes::Inform(const QString& text) {
    // What a box tells (mostly why something failed) is on standard error
    // too, for whoever started the program from a terminal.
    WriteErrorOutput(text);
    if (unattended_) return;
    Show(text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtMessageBoxes::AskYesNo(const QString& text, core::flows::DefaultAnswer preselected) {
    if (unattended_) {
        WriteErrorOutput(text + QStringLiteral(" No (nobody can answer without a display)"));
        return false;
    }
    if (echo_) WriteErrorOutput(text);
    const QMessageBox::StandardButton button =
        preselected == core::flows::DefaultAnswer::Yes ? QMessageBox::Yes : QMessageBox::No;
    return Show(text, QMessageBox::Yes | QMessageBox::No, button) == QMessageBox::Yes;
}

}  // namespace app
