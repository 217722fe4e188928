#pragma once

#include <QList>
#include <QString>
#include <optional>

class QFileDialog;
class QWidget;

namespace app {

// The file-open dialog of the Browse button.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The chosen file, or nothing when the user cancelled.
    virtual std::optional<QString> ChooseFileToOpen(QWidget* owner) = 0;
};

// One filter of the Browse dialog: what the user reads, and the pattern that
// selects the files.
struct BrowseFilter {
    QString description;
    QString pattern;
};

// "Text files (*.txt)", "Encoded files (*.enc)" and "All files (*.*)", in that
// order; "All files" selects every file of the platform.
QList<BrowseFilter> BrowseFilters();

// Keeps Qt's file dialogs from reading or writing their history of browsed
// folders in the user's settings: the program keeps no settings.
void KeepNoDialogSettings();

// Sets up a dialog to open one existing file with the Browse filters and the
// default suffix "txt", and keeps no settings for it.
void ConfigureBrowseDialog(QFileDialog& dialog);

class QtFileDialog final : public FileDialog {
public:
    std::optional<QString> ChooseFileToOpen(QWidget* owner) override;
    // Nobody can answer the dialog (no display): it is not shown and counts
    // as cancelled.
    void SetUnattended(bool unattended) { unattended_ = unattended; }

private:
    bool unattended_ = false;
};

}  // namespace app
