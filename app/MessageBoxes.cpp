#include "app/MessageBoxes.h"

#include <QMessageBox>

#include "app/AppInfo.h"

namespace {

int Show(const QString& text, QMessageBox::StandardButtons buttons,
         QMessageBox::StandardButton preselected) {
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, text, buttons);
    box.setDefaultButton(preselected);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec();
}

}  // namespace

void QtMessageBoxes::Inform(const QString& text) {
    Show(text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtMessageBoxes::AskYesNo(const QString& text) {
    return Show(text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}
