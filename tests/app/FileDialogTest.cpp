// What the Browse dialog offers: three filters in their order, and "All files"
// showing every file, also those without an extension.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>

#include "app/FileDialog.h"
#include "tests/app/support/TempFiles.h"

namespace {

TEST(FileDialogTest, FiltersReadAsDescribedInTheirOrder) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    ConfigureBrowseDialog(dialog);
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    QStringList shown;
    for (int i = 0; i < types->count(); ++i) shown.append(types->itemText(i));
    EXPECT_EQ(shown,
              QStringList({"Text files (*.txt)", "Encoded files (*.enc)", "All files (*.*)"}));
    EXPECT_EQ(dialog.defaultSuffix(), "txt");
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
}

TEST(FileDialogTest, AllFilesListsNamesWithoutAnExtension) {
    TempFiles files;
    for (const char* name : {"README", "id_ed25519", "notes.txt", "secret.enc"}) {
        files.Write(name, "x");
    }
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    ConfigureBrowseDialog(dialog);
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);

    const QStringList filters = dialog.nameFilters();
    ASSERT_EQ(filters.size(), 3);
    const std::pair<int, QStringList> expected[] = {
        {0, {"notes.txt"}},
        {1, {"secret.enc"}},
        {2, {"README", "id_ed25519", "notes.txt", "secret.enc"}},
    };
    for (const auto& [index, names] : expected) {
        dialog.selectNameFilter(filters[index]);
        // The patterns the dialog's own list applies, on the same folder.
        const QStringList listed =
            QDir(files.Path(QString())).entryList(model->nameFilters(), QDir::Files, QDir::Name);
        EXPECT_EQ(listed, names) << filters[index].toStdString();
    }
}

}  // namespace
