#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/Global.h"
#include "app/forms/PasswordForm.h"
#include "cipher/clsBlowfish.h"
#include "tests/app/support/FakePlatform.h"
#include "tests/app/support/TempFiles.h"
#include "ui/Form1.h"

namespace {

const QByteArray kPlain("Quarterly figures: 1, 2, 3.\r\nEnd.\n");
const QString kWrongFilePassword =
    QStringLiteral("Wrong password, or the file is not a valid encrypted file.");
const QString kDifferent = QStringLiteral("You typed a different password.");

// Decrypts a file's content with a fresh engine; nothing when it does not decrypt.
std::optional<QByteArray> DecryptFileContent(const QString& path, const std::u16string& password) {
    const QByteArray content = TempFiles::Read(path);
    clsBlowfish::ByteArray bytes(content.begin(), content.end());
    if (!clsBlowfish().DecryptByte(bytes, password)) return std::nullopt;
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

class FileActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Global::CurrentPassword.clear();
        source = files.Write("report.txt", kPlain);
        destination = files.Path("report.txt.enc");
        form.Text1()->setText(source);
        form.Text2()->setText(destination);
    }

    void Answer(std::initializer_list<std::optional<std::u16string>> answers) {
        platform.prompt.answers.assign(answers.begin(), answers.end());
    }

    // The busy state is over whenever a message box shows.
    void ExpectIdleAtEveryMessage() {
        platform.messages.onShow = [this] {
            EXPECT_TRUE(form.isEnabled());
            EXPECT_FALSE(platform.pointer.hourglass);
            EXPECT_FALSE(platform.status.visible);
        };
    }

    FakePlatform platform;
    Form1 form{&platform.services};
    TempFiles files;
    QString source;
    QString destination;
};

TEST_F(FileActionsTest, DeriveDstFile) {
    const std::pair<QString, QString> cases[] = {
        {"C:\\data\\report.txt", "C:\\data\\report.txt.enc"},
        {"C:\\data\\report.txt.enc", "C:\\data\\report.txt"},
        {"C:\\data\\REPORT.ENC", "C:\\data\\REPORT"},
        {"/home/a/notes.Enc", "/home/a/notes"},
        {".enc", ""},
        {"enc", "enc.enc"},
        {"x", "x.enc"},
    };
    for (const auto& [typed, derived] : cases) {
        form.Text1()->setText(typed);
        form.Text2()->setText("before");
        form.DeriveDstFile();
        EXPECT_EQ(form.Text2()->text(), derived) << typed.toStdString();
    }
    form.Text1()->clear();
    form.Text2()->setText("before");
    form.DeriveDstFile();
    EXPECT_EQ(form.Text2()->text(), "before");
}

TEST_F(FileActionsTest, BrowseSetsBothPathsAndCancelKeepsThem) {
    platform.fileDialog.answer = "/data/chosen.enc";
    form.BrowseF_Click();
    EXPECT_EQ(form.Text1()->text(), "/data/chosen.enc");
    EXPECT_EQ(form.Text2()->text(), "/data/chosen");

    platform.fileDialog.answer.reset();
    form.BrowseF_Click();
    EXPECT_EQ(form.Text1()->text(), "/data/chosen.enc");
    EXPECT_EQ(form.Text2()->text(), "/data/chosen");
}

TEST_F(FileActionsTest, SwapTwiceRestoresBothFields) {
    form.mSwap_Click();
    EXPECT_EQ(form.Text1()->text(), destination);
    EXPECT_EQ(form.Text2()->text(), source);
    form.mSwap_Click();
    EXPECT_EQ(form.Text1()->text(), source);
    EXPECT_EQ(form.Text2()->text(), destination);
}

TEST_F(FileActionsTest, EncryptWithMatchingPasswordsAndNoWipe) {
    Answer({u"pw", u"pw"});
    platform.messages.answers = {false};

    EXPECT_TRUE(form.EncFile_Click());

    EXPECT_EQ(platform.prompt.captions,
              std::vector<QString>({"Enter password:", "Re-enter password"}));
    EXPECT_EQ(platform.messages.asked, std::vector<QString>{"Wipe original?"});
    EXPECT_EQ(DecryptFileContent(destination, u"pw"), kPlain);
    EXPECT_EQ(TempFiles::Read(source), kPlain);
    EXPECT_EQ(Global::CurrentPassword, u"pw");  // the encryption was given a copy
    EXPECT_TRUE(form.isEnabled());
    EXPECT_FALSE(platform.pointer.hourglass);
    EXPECT_FALSE(platform.status.visible);
}

TEST_F(FileActionsTest, EncryptAndWipe) {
    Answer({u"pw", u"pw"});
    platform.messages.answers = {true};
    EXPECT_TRUE(form.EncFile_Click());
    EXPECT_FALSE(TempFiles::Exists(source));
    EXPECT_EQ(DecryptFileContent(destination, u"pw"), kPlain);
    EXPECT_TRUE(platform.messages.informed.empty());
}

TEST_F(FileActionsTest, EscapeWhileBusyAsksAndStopsWithTheDestinationAsItWas) {
    const QByteArray large(3 << 20, 'x');  // a dozen chunks
    files.Write("report.txt", large);
    files.Write("report.txt.enc", "older");
    Answer({u"pw", u"pw"});
    platform.messages.answers = {true, true};  // replace the older file; stop
    bool pressed = false;
    platform.pump.onPump = [&] {
        if (pressed || !platform.status.visible) return;
        pressed = true;
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&form, &escape);
    };

    EXPECT_FALSE(form.EncFile_Click());

    ASSERT_EQ(platform.messages.asked.size(), 2u);
    EXPECT_EQ(platform.messages.asked.back(), "Stop? The output so far is discarded.");
    EXPECT_EQ(platform.messages.informed, std::vector<QString>{"Stopped."});
    EXPECT_EQ(form.FileActionStatus(), core::kFailed);
    EXPECT_EQ(TempFiles::Read(destination), "older");
    EXPECT_EQ(TempFiles::Read(source), large);
    EXPECT_EQ(QDir(files.Path(".")).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(FileActionsTest, MismatchOrEscapeInTheConfirmationTouchesNoFile) {
    for (const std::optional<std::u16string>& second :
         {std::optional<std::u16string>(u"PW"), std::optional<std::u16string>()}) {
        platform.messages.informed.clear();
        Answer({u"pw", second});
        EXPECT_FALSE(form.EncFile_Click());
        EXPECT_EQ(platform.messages.informed, std::vector<QString>{kDifferent});
        EXPECT_FALSE(TempFiles::Exists(destination));
        EXPECT_EQ(Global::CurrentPassword, second.value_or(u""));
    }
}

TEST_F(FileActionsTest, NothingHappensWithoutSourceOrPassword) {
    Answer({std::nullopt});
    EXPECT_FALSE(form.EncFile_Click());  // first prompt cancelled
    EXPECT_EQ(platform.prompt.captions.size(), 1u);

    form.Text1()->setText(files.Path("missing.txt"));
    EXPECT_FALSE(form.EncFile_Click());
    EXPECT_FALSE(form.DecFile_Click());
    EXPECT_EQ(platform.prompt.captions.size(), 1u);
    EXPECT_TRUE(platform.messages.informed.empty());
    EXPECT_FALSE(TempFiles::Exists(destination));
}

TEST_F(FileActionsTest, EmptyDestinationIsExplainedAndNothingIsAsked) {
    form.Text2()->clear();
    EXPECT_FALSE(form.EncFile_Click());
    EXPECT_FALSE(form.DecFile_Click());
    ASSERT_EQ(platform.messages.informed.size(), 2u);
    EXPECT_TRUE(platform.messages.informed[0].contains("destination"));
    EXPECT_TRUE(platform.prompt.captions.empty());
}

TEST_F(FileActionsTest, CommandLineEncryptConfirmsAndWipesWithoutAsking) {
    form.SetCommandLine("/encrypt /report.txt /pw");
    Global::CurrentPassword = u"pw";
    Answer({u"pw"});
    EXPECT_TRUE(form.EncFile_Click());
    EXPECT_EQ(platform.prompt.captions, std::vector<QString>{"Re-enter password"});
    EXPECT_TRUE(platform.messages.asked.empty());
    EXPECT_FALSE(TempFiles::Exists(source));
    EXPECT_EQ(DecryptFileContent(destination, u"pw"), kPlain);
}

TEST_F(FileActionsTest, FailedEncryptionIsReportedAndNeverWipes) {
    // A folder that is not empty carries the destination's name, so the
    // encrypted file cannot be written.
    ASSERT_TRUE(QDir().mkpath(destination));
    const QString stale = files.Write("report.txt.enc/stale", "stale");
    form.SetCommandLine("/encrypt");  // would wipe without asking
    Global::CurrentPassword = u"pw";
    Answer({u"pw"});
    ExpectIdleAtEveryMessage();

    EXPECT_FALSE(form.EncFile_Click());

    ASSERT_EQ(platform.messages.informed.size(), 1u);
    EXPECT_TRUE(platform.messages.informed[0].contains(destination));
    EXPECT_EQ(TempFiles::Read(source), kPlain);
    EXPECT_EQ(TempFiles::Read(stale), "stale");
}

TEST_F(FileActionsTest, UnusablePasswordIsRefusedAtOnceInTheStringPanelsWords) {
    // An emoji is one character beyond the 16-bit range: it is shown whole.
    const std::u16string emoji = u"pass\U0001F600word";
    const QString shown = QString::fromStdU16String(u"\"\U0001F600\"");
    Answer({emoji});
    EXPECT_FALSE(form.EncFile_Click());
    EXPECT_EQ(platform.prompt.captions, std::vector<QString>{"Enter password:"});
    Answer({emoji});
    EXPECT_FALSE(form.DecFile_Click());
    // From the command line the first entry is the given password: no prompt at all.
    form.SetCommandLine("/encrypt /report.txt /pass");
    Global::CurrentPassword = emoji;
    EXPECT_FALSE(form.EncFile_Click());
    EXPECT_EQ(platform.prompt.captions.size(), 2u);
    EXPECT_TRUE(Global::CurrentPassword.empty()) << "no later action takes it up";

    form.SetCommandLine(QString());
    form.Text3()->setText("plain");
    Answer({emoji});
    EXPECT_FALSE(form.EncStr_Click());

    ASSERT_EQ(platform.messages.informed.size(), 4u);
    EXPECT_TRUE(platform.messages.informed[0].contains(shown))
        << platform.messages.informed[0].toStdString();
    for (const QString& message : platform.messages.informed) {
        EXPECT_EQ(message, platform.messages.informed[0]);
    }
    EXPECT_FALSE(TempFiles::Exists(destination));
    EXPECT_EQ(TempFiles::Read(source), kPlain);
}

TEST_F(FileActionsTest, SourceAsItsOwnDestinationIsEncryptedInPlaceNotWiped) {
    form.Text2()->setText(files.Path("./report.txt"));
    form.SetCommandLine("/encrypt");
    Global::CurrentPassword = u"pw";
    Answer({u"pw"});
    EXPECT_TRUE(form.EncFile_Click());
    EXPECT_EQ(DecryptFileContent(source, u"pw"), kPlain);
}

TEST_F(FileActionsTest, DecryptEmptiesThePasswordAndRestoresTheFile) {
    Answer({u"pw", u"pw"});
    platform.messages.answers = {true};
    ASSERT_TRUE(form.EncFile_Click());
    form.mSwap_Click();

    Answer({u"pw"});
    EXPECT_TRUE(form.DecFile_Click());
    EXPECT_EQ(TempFiles::Read(source), kPlain);
    EXPECT_TRUE(Global::CurrentPassword.empty());
    EXPECT_EQ(platform.prompt.captions.back(), PasswordForm::EnterCaption());
}

TEST_F(FileActionsTest, WrongPasswordDecryptionIsReportedAndWritesNothing) {
    Answer({u"pw", u"pw"});
    platform.messages.answers = {false};
    ASSERT_TRUE(form.EncFile_Click());
    const QString restored = files.Path("restored.txt");
    form.Text1()->setText(destination);
    form.Text2()->setText(restored);
    ExpectIdleAtEveryMessage();

    Answer({u"not pw"});
    EXPECT_FALSE(form.DecFile_Click());

    EXPECT_EQ(platform.messages.informed, std::vector<QString>{kWrongFilePassword});
    EXPECT_FALSE(TempFiles::Exists(restored));
}

TEST_F(FileActionsTest, PasswordFlowsFromFileEncryptionToOneStringAction) {
    Answer({u"pw", u"pw"});
    platform.messages.answers = {false};
    ASSERT_TRUE(form.EncFile_Click());

    form.Text3()->setText("hello");
    EXPECT_TRUE(form.EncStr_Click());  // uses "pw" without asking
    EXPECT_EQ(platform.prompt.captions.size(), 2u);
    EXPECT_TRUE(Global::CurrentPassword.empty());

    form.Text3()->setText(form.Text4()->text());
    Answer({u"pw"});
    EXPECT_TRUE(form.DecStr_Click());
    EXPECT_EQ(platform.prompt.captions.size(), 3u);
    EXPECT_EQ(form.Text4()->text(), "hello");
}

}  // namespace
