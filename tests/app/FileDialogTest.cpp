// What the Browse dialog offers: three filters in their order, and "All files"
// showing every file, also those without an extension; and that browsing
// leaves no history of folders behind.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSettings>

#include "app/platform/FileDialog.h"
#include "tests/app/support/TempFiles.h"

namespace {

TEST(FileDialogTest, ThreeFiltersInOrderAndAllFilesListsNamesWithoutAnExtension) {
    TempFiles files;
    for (const char* name : {"README", "id_ed25519", "notes.txt", "secret.enc"}) {
        files.Write(name, "x");
    }
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    app::ConfigureBrowseDialog(dialog);
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(types, nullptr);
    ASSERT_NE(model, nullptr);

    const std::pair<QString, QStringList> expected[] = {
        {"Text files (*.txt)", {"notes.txt"}},
        {"Encoded files (*.enc)", {"secret.enc"}},
        {"All files (*.*)", {"README", "id_ed25519", "notes.txt", "secret.enc"}},
    };
    ASSERT_EQ(types->count(), 3);
    for (int i = 0; i < 3; ++i) {
        const auto& [shown, names] = expected[i];
        EXPECT_EQ(types->itemText(i), shown);
        dialog.selectNameFilter(dialog.nameFilters()[i]);
        // The patterns the dialog's own list applies, on the same folder.
        const QStringList listed =
            QDir(files.Path(QString())).entryList(model->nameFilters(), QDir::Files, QDir::Name);
        EXPECT_EQ(listed, names) << shown.toStdString();
    }
}

TEST(FileDialogTest, BrowsingWritesNoSettings) {
    TempFiles settings;  // where Qt keeps the user's settings
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.Path(QString()));
    TempFiles browsed;
    {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        app::ConfigureBrowseDialog(dialog);
        dialog.setDirectory(browsed.Path(QString()));
    }
    EXPECT_TRUE(QDir(settings.Path(QString())).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
}

}  // namespace
