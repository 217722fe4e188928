#pragma once

#include <QString>
#include <optional>

class QWidget;

// The file-open dialog of the Browse button.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The chosen file, or nothing when the user cancelled.
    virtual std::optional<QString> ChooseFileToOpen(QWidget* owner) = 0;
};

// Offers "Text files (*.txt)", "Encoded files (*.enc)" and "All files (*.*)",
// in that order, with the default suffix "txt".
class QtFileDialog final : public FileDialog {
public:
    std::optional<QString> ChooseFileToOpen(QWidget* owner) override;
};
