#include "app/FileDialog.h"

#include <QFileDialog>
#include <QStringList>

std::optional<QString> QtFileDialog::ChooseFileToOpen(QWidget* owner) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"),
                           QStringLiteral("Encoded files (*.enc)"),
                           QStringLiteral("All files (*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.first();
}
