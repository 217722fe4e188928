#include "app/platform/FileDialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QSettings>
#include <QStringList>
#include <cstdio>

#include "app/platform/FilePatterns.h"

namespace app {

QList<BrowseFilter> BrowseFilters() {
    return {
        {QCoreApplication::translate("FileDialog", "Text files (*.txt)"), QStringLiteral("*.txt")},
        {QCoreApplication::translate("FileDialog", "Encoded files (*.enc)"),
         QStringLiteral("*.enc")},
        {QCoreApplication::translate("FileDialog", "All files (*.*)"), AllFilesPattern()},
    };
}

void KeepNoDialogSettings() {
    // Qt's file dialog reads and writes its history of folders in the user's
    // QtProject.conf. Pointed below a file that is no folder, that file can be
    // neither read nor created: nothing of the browsing outlives the program.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStringLiteral("/dev/null/quillbox-keeps-no-settings"));
}

void ConfigureBrowseDialog(QFileDialog& dialog) {
    KeepNoDialogSettings();
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt reads a filter's pattern from its last parentheses; with the details
    // hidden the user reads the description alone, as it stands.
    QStringList filters;
    for (const BrowseFilter& filter : BrowseFilters()) {
        filters.append(filter.description + QStringLiteral(" (") + filter.pattern +
                       QLatin1Char(')'));
    }
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
}

std::optional<QString> QtFileDialog::ChooseFileToOpen(QWidget* owner) {
    if (unattended_) {
        std::fputs(
            qPrintable(QCoreApplication::translate(
                "FileDialog", "Quillbox: no display to choose a file on; nothing was done.\n")),
            stderr);
        return std::nullopt;
    }
    KeepNoDialogSettings();  // before the dialog reads them
    QFileDialog dialog(owner);
    ConfigureBrowseDialog(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.first();
}

}  // namespace app
