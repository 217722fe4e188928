#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/ActionBoundary.h"
#include "app/QtFrontEnd.h"
#include "app/platform/Twips.h"
#include "core/ExitStatus.h"
#include "core/flows/FileFlow.h"
#include "core/flows/FileSet.h"
#include "core/flows/TextFlow.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
namespace ui {
class FileDropLineEdit;
}  // namespace ui
namespace app {
class QtPlatform;
struct Platform;
}  // namespace app

// The main window: a file panel (source and destination paths, Browse,
// Encrypt, Decrypt, Swap) and a string panel (input, output, Encrypt, Decrypt,
// Paste, Copy to clipboard), plus About. Every button action is also a public
// procedure, which is how the command line runs them without showing the
// window.
class Form1 : public QWidget {
    Q_OBJECT

public:
    // Uses the given platform services, or Qt's when platform is null.
    explicit Form1(app::Platform* platform = nullptr);
    ~Form1() override;

    // Start-up: path completion in Text1, the four fields emptied, the
    // argument text kept as CommandLine.
    void Form_Load(const QString& argumentText);

    // Non-empty while a command line with a password runs: the file actions
    // then skip the first password prompt and wipe without asking.
    void SetCommandLine(const QString& text) { commandLine_ = text; }
    const QString& CommandLine() const { return commandLine_; }

    // Whether the file actions in interactive mode ask before they replace
    // an existing file (the window and the file-manager entries); the "/"
    // command line does not, even with "-ask", as scripts rely on it. On by
    // default.
    void SetAskBeforeReplacing(bool ask) { askBeforeReplacing_ = ask; }

    // Whether the file actions' password prompts name the source file in
    // their title (one of several files to work on). Off by default.
    void SetNameFileInPrompts(bool name) { nameFileInPrompts_ = name; }

    QLineEdit* Text1() const;                    // source file
    QLineEdit* Text2() const { return text2_; }  // destination file
    QLineEdit* Text3() const { return text3_; }  // string input
    QLineEdit* Text4() const { return text4_; }  // string output

    // File panel.
    void BrowseF_Click();
    void Text1_OLEDragDrop(const QStringList& files);
    void DeriveDstFile();
    void mSwap_Click();
    bool EncFile_Click();
    bool DecFile_Click();
    bool myEncrypt(std::u16string& srcFile, std::u16string& dstFile, std::u16string& myPass);
    bool myDecrypt(std::u16string& srcFile, std::u16string& dstFile, std::u16string& myPass);
    // How the last file Encrypt or Decrypt ended, as the command line's exit
    // status: completed, failed, encrypted but not wiped, or wrong password.
    core::ExitStatus FileActionStatus() const { return fileStatus_; }
    // Several files and folders in one go (the file-manager entries): one
    // password, one wipe question, the strip's overall percentage, a summary
    // box. Returns the exit status.
    int RunFileSet(const core::flows::FileSet& set);
    // How the last string Encrypt or Decrypt ended, for the exit status.
    core::ExitStatus StringActionStatus() const { return stringStatus_; }

    // String panel and About.
    bool EncStr_Click();
    bool DecStr_Click();
    bool Copy2Clip_Click();
    void mPaste_Click();
    void mAbout_Click();

    // Runs one action of the window as its buttons and drops do: refused
    // while another action runs, and whatever it throws ends in a message
    // box. True when it ran to its end.
    bool RunAction(const std::function<void()>& action) { return actions_.Run(action); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildFilePanel();
    void BuildStringPanel();
    void SetTabOrder();
    QGroupBox* AddFrame(const char* name, const QString& caption, const core::TwipsRect& place);
    QPushButton* AddButton(QWidget* container, const char* name, const QString& caption,
                           const core::TwipsRect& place, std::function<void()> action);
    void Place(QWidget* control, QWidget* container, const char* name,
               const core::TwipsRect& place);
    void Form_Unload();

    bool InteractiveMode() const { return commandLine_.isEmpty(); }
    // The file panel's fields as a request of the file flows.
    core::flows::FileRequest FileRequestOf(core::flows::FileDirection direction) const;
    // How the file actions come by the password; confirm for encryption.
    core::flows::PasswordPlan FilePasswordPlan(bool confirm) const;
    bool RunStringAction(core::flows::TextDirection direction);

    std::unique_ptr<app::QtPlatform> ownPlatform_;
    app::Platform& platform_;
    app::ActionBoundary actions_;
    app::QtFrontEnd frontEnd_;
    QString commandLine_;
    bool askBeforeReplacing_ = true;
    bool nameFileInPrompts_ = false;
    core::ExitStatus fileStatus_ = core::kCompleted;
    core::ExitStatus stringStatus_ = core::kCompleted;
    app::TwipsLayout layout_{96, 13};  // the layout tables in pixels, for this window's font
    ui::FileDropLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QGroupBox* frame2_ = nullptr;
};
