// The file panel of the main window: choosing the source, deriving the
// destination, and the Encrypt and Decrypt actions.
#include <QDir>
#include <QFileInfo>

#include "app/BusyScope.h"
#include "app/FailureMessages.h"
#include "app/FileProcedure.h"
#include "app/Global.h"
#include "app/forms/PasswordForm.h"
#include "app/forms/PasswordPrompt.h"
#include "app/forms/StatusProgress.h"
#include "app/platform/FileDialog.h"
#include "app/platform/MessageBoxes.h"
#include "app/platform/Platform.h"
#include "cipher/CodePage.h"
#include "cipher/FileError.h"
#include "cipher/SecureZero.h"
#include "core/DestinationName.h"
#include "core/SourceWipe.h"
#include "fileio/FileStore.h"
#include "ui/FileDropLineEdit.h"
#include "ui/Form1.h"

namespace {

// A password that the cipher cannot use is refused as soon as it is known,
// before anything else is asked; the shared password is emptied so that no
// later action takes it up.
bool PasswordUsable(MessageBoxes& messages) {
    const std::optional<char32_t> bad = codepage::FirstUnrepresentable(Global::CurrentPassword);
    if (!bad) return true;
    cipher::Wipe(Global::CurrentPassword);
    messages.Inform(failure::ForUnrepresentable(*bad));
    return false;
}

FileOperation OperationOf(bool encrypt) {
    return encrypt ? FileOperation::Encrypt : FileOperation::Decrypt;
}

// True when the text cannot name a file on this system (it came from bytes
// that are not valid in the system's path encoding).
bool InvalidName(const QString& text) {
    std::error_code ec;
    filestore::ToPath(text.toStdU16String(), ec);
    return static_cast<bool>(ec);
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
    if (const auto destination = DestinationFor(text1_->text().toStdU16String())) {
        text2_->setText(QString::fromStdU16String(*destination));
    }
}

void Form1::mSwap_Click() {
    const QString source = text1_->text();
    text1_->setText(text2_->text());
    text2_->setText(source);
}

bool Form1::HasDestination() {
    if (!text2_->text().isEmpty()) return true;
    platform_.messages.Inform(failure::NoDestination());
    return false;
}

// A folder or an unusable name as source is explained; a missing source ends
// the action silently.
bool Form1::UsableSource(const QString& source, bool encrypt) {
    if (InvalidName(source)) {
        platform_.messages.Inform(failure::ForFile(
            {FileFailure::InvalidName, source.toStdU16String(), {}, OperationOf(encrypt)}));
        return false;
    }
    if (!source.isEmpty() && QFileInfo(source).isDir()) {
        platform_.messages.Inform(failure::ForFile(
            {FileFailure::SourceIsFolder, source.toStdU16String(), {}, OperationOf(encrypt)}));
        return false;
    }
    return Global::FileExists(source.toStdU16String());
}

bool Form1::UsableNames(const QString& source, bool encrypt) {
    if (!UsableSource(source, encrypt) || !HasDestination()) return false;
    if (!InvalidName(text2_->text())) return true;
    platform_.messages.Inform(failure::ForFile(
        {FileFailure::InvalidName, text2_->text().toStdU16String(), {}, OperationOf(encrypt)}));
    return false;
}

bool Form1::EncFile_Click() {
    fileStatus_ = kFailed;
    const QString source = text1_->text();
    if (!UsableNames(source, true)) return false;
    if (InteractiveMode()) platform_.prompt.Ask(PasswordForm::EnterCaption());
    if (Global::CurrentPassword.empty()) return false;
    if (!PasswordUsable(platform_.messages)) return false;

    std::u16string password = Global::CurrentPassword;
    const cipher::WipedOnExit keepPrivate(password);
    platform_.prompt.Ask(tr("Re-enter password"));
    if (Global::CurrentPassword != password) {
        platform_.messages.Inform(tr("You typed a different password."));
        return false;
    }

    const QString destination = text2_->text();
    std::u16string srcFile = source.toStdU16String();
    std::u16string dstFile = destination.toStdU16String();
    std::u16string myPass = password;
    if (!myEncrypt(srcFile, dstFile, myPass)) return false;
    fileStatus_ = OfferWipe(source, destination, password) ? kCompleted : kNotWiped;
    return true;
}

bool Form1::OfferWipe(const QString& source, const QString& destination,
                      const std::u16string& password) {
    // Encrypted in place: the file already holds the ciphertext and is the only copy.
    if (MaybeSameFile(source.toStdU16String(), destination.toStdU16String())) return true;
    if (InteractiveMode() && !platform_.messages.AskYesNo(tr("Wipe original?"))) return true;
    WipeResult result{WipeOutcome::NotVerified, {}};
    {
        BusyScope busy(platform_, *this);
        StatusProgress progress(platform_.status, platform_.pump);
        result =
            WipeSource(source.toStdU16String(), destination.toStdU16String(), password, &progress);
    }
    if (const std::optional<QString> message = failure::ForWipe(result, source)) {
        platform_.messages.Inform(*message);
    }
    return !WipeMissed(result);
}

bool Form1::DecFile_Click() {
    fileStatus_ = kFailed;
    const QString source = text1_->text();
    if (!UsableNames(source, false)) return false;
    if (InteractiveMode()) platform_.prompt.Ask(PasswordForm::EnterCaption());
    if (Global::CurrentPassword.empty()) return false;
    if (!PasswordUsable(platform_.messages)) return false;

    std::u16string srcFile = source.toStdU16String();
    std::u16string dstFile = text2_->text().toStdU16String();
    // The shared password itself: a completed decryption empties it.
    const bool written = myDecrypt(srcFile, dstFile, Global::CurrentPassword);
    if (written) fileStatus_ = kCompleted;
    if (lastFailure_ == FileFailure::WrongPassword) fileStatus_ = kWrongPassword;
    return written;
}

bool Form1::myEncrypt(std::u16string& srcFile, std::u16string& dstFile, std::u16string& myPass) {
    return RunFileProcedure(platform_, *this, FileDirection::Encrypt, srcFile, dstFile, myPass,
                            &lastFailure_);
}

bool Form1::myDecrypt(std::u16string& srcFile, std::u16string& dstFile, std::u16string& myPass) {
    return RunFileProcedure(platform_, *this, FileDirection::Decrypt, srcFile, dstFile, myPass,
                            &lastFailure_);
}
