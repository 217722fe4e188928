// The file panel of the main window: choosing the source, deriving the
// destination, and the Encrypt and Decrypt actions.
#include <QDir>
#include <QFileInfo>

#include "app/Global.h"
#include "app/platform/FileDialog.h"
#include "app/platform/Platform.h"
#include "core/DestinationName.h"
#include "ui/FileDropLineEdit.h"
#include "ui/Form1.h"

namespace {

constexpr bool kOverwrite = true;
constexpr bool kRawContainer = false;

core::ExitStatus StatusOf(int status) {
    return static_cast<core::ExitStatus>(status);
}

}  // namespace

void Form1::BrowseF_Click() {
    const std::optional<QString> chosen = platform_.fileDialog.ChooseFileToOpen(this);
    if (!chosen) return;  // cancelled: both paths stay as they were
    text1_->setText(QDir::toNativeSeparators(*chosen));
    DeriveDstFile();
}

void Form1::Text1_OLEDragDrop(const QStringList& files) {
    if (files.isEmpty()) return;
    text1_->setText(files.first());
    DeriveDstFile();
}

void Form1::DeriveDstFile() {
    if (const auto destination = core::DestinationFor(text1_->text().toStdU16String())) {
        text2_->setText(QString::fromStdU16String(*destination));
    }
}

void Form1::mSwap_Click() {
    const QString source = text1_->text();
    text1_->setText(text2_->text());
    text2_->setText(source);
}

core::flows::FileRequest Form1::FileRequestOf(core::flows::FileDirection direction) const {
    core::flows::FileRequest request;
    request.direction = direction;
    request.source = text1_->text().toStdU16String();
    request.destination = text2_->text().toStdU16String();
    request.overwrite = kOverwrite;
    // The command line replaces without a question, "-ask" or not.
    request.confirmReplace = InteractiveMode() && askBeforeReplacing_;
    request.base64 = kRawContainer;
    // A source that is not there ends the action silently.
    request.sourceExists = &Global::FileExists;
    // In the command-line mode the original goes without a question.
    request.wipe = InteractiveMode() ? core::flows::WipePlan::Ask : core::flows::WipePlan::Always;
    return request;
}

core::flows::PasswordPlan Form1::FilePasswordPlan(bool confirm) const {
    core::flows::PasswordPlan plan{InteractiveMode(), confirm};
    if (nameFileInPrompts_) plan.subject = QFileInfo(text1_->text()).fileName().toStdString();
    return plan;
}

bool Form1::EncFile_Click() {
    // In the command-line mode the password is known, but it is still retyped.
    const core::flows::Outcome outcome =
        core::flows::EncryptFile(frontEnd_, FileRequestOf(core::flows::FileDirection::Encrypt),
                                 FilePasswordPlan(true), Global::CurrentPassword);
    fileStatus_ = StatusOf(core::flows::Finish(frontEnd_, outcome));
    return outcome.ending == core::flows::Ending::Completed ||
           outcome.ending == core::flows::Ending::NotWiped;
}

bool Form1::DecFile_Click() {
    // The shared password itself: a decryption that was carried out empties it.
    const core::flows::Outcome outcome =
        core::flows::DecryptFile(frontEnd_, FileRequestOf(core::flows::FileDirection::Decrypt),
                                 FilePasswordPlan(false), Global::CurrentPassword);
    fileStatus_ = StatusOf(core::flows::Finish(frontEnd_, outcome));
    return outcome.ending == core::flows::Ending::Completed;
}

int Form1::RunFileSet(const core::flows::FileSet& set) {
    const bool encrypt = set.direction == core::flows::FileDirection::Encrypt;
    const int status = core::flows::RunSet(
        frontEnd_, set, {InteractiveMode(), encrypt}, Global::CurrentPassword,
        InteractiveMode() ? core::flows::WipePlan::Ask : core::flows::WipePlan::Always);
    fileStatus_ = StatusOf(status);
    return status;
}

bool Form1::myEncrypt(std::u16string& srcFile, std::u16string& dstFile, std::u16string& myPass) {
    return core::flows::Finish(frontEnd_,
                               core::flows::RunFileOperation(
                                   frontEnd_, core::flows::FileDirection::Encrypt, srcFile, dstFile,
                                   myPass, kOverwrite, kRawContainer)) == core::kCompleted;
}

bool Form1::myDecrypt(std::u16string& srcFile, std::u16string& dstFile, std::u16string& myPass) {
    return core::flows::Finish(frontEnd_,
                               core::flows::RunFileOperation(
                                   frontEnd_, core::flows::FileDirection::Decrypt, srcFile, dstFile,
                                   myPass, kOverwrite, kRawContainer)) == core::kCompleted;
}
