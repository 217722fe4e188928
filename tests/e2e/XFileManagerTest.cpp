// The entries that file managers and the desktop use: quillbox --encrypt and
// --decrypt with ordinary paths, run as the window's file actions with the
// user answering every prompt and question.

#include <QDir>
#include <QFile>
#include <QThread>

#include "CipherFiles.h"
#include "XSession.h"

namespace {

class XFileManager : public XSession {
protected:
    // Answers the password prompt and, for encryption, the retype prompt,
    // both with this title.
    bool AnswerPasswords(const QString& password, bool retype, const QString& title = kTitle) {
        return AnswerPrompt(password, title) && (!retype || AnswerPrompt(password, title));
    }

    const QByteArray plain_ = SampleBytes(30000);
};

TEST_F(XFileManager, EncryptsEachPathInTurnWithTheWindowsDialogue) {
    // A relative name and an absolute path, with spaces and non-ASCII letters.
    const QString relative = QStringLiteral("my notes \u00e4.txt");
    ASSERT_TRUE(QDir(QtPath(folder_)).mkdir(QStringLiteral("Ordner \u00f6")));
    const QString absolute = Path(QStringLiteral("Ordner \u00f6/report 1 \u20ac.bin"));
    ASSERT_TRUE(WriteFile(Path(relative), plain_));
    ASSERT_TRUE(WriteFile(absolute, plain_.left(999)));

    // With several files each prompt's title names its file.
    auto program = Start({"--encrypt", relative, absolute});
    ASSERT_TRUE(AnswerPasswords("first pw", true, kTitle + " - " + relative));
    ASSERT_TRUE(Answer({}, {"Escape"}));  // "Wipe original?": No
    ASSERT_TRUE(ForgetAnswered());
    ASSERT_TRUE(AnswerPasswords("second", true, QStringLiteral("Quillbox - report 1 \u20ac.bin")));
    ASSERT_TRUE(DismissBox());  // "Wipe original?": Yes, the default
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_EQ(program->ExitStatus(), 0) << program->ErrorOutput().toStdString();

    EXPECT_EQ(ReadFile(Path(relative)), plain_) << "kept: the answer was No";
    EXPECT_EQ(ReadDecrypted(Path(relative + ".enc"), "first pw"), plain_);
    EXPECT_FALSE(QFile::exists(absolute)) << "wiped: the answer was Yes";
    EXPECT_EQ(ReadDecrypted(absolute + ".enc", "second"), plain_.left(999));
}

TEST_F(XFileManager, DecryptsNextToTheFileAndReportsMissingOnes) {
    const QString encrypted = QStringLiteral("-a b \u00fc.txt.ENC");
    ASSERT_TRUE(WriteEncrypted(Path(encrypted), plain_, "pw"));

    // "--" lets a name begin with "-"; the missing file gets a box and status 1.
    auto program = Start({"--decrypt", "--", encrypted, "absent.enc"});
    ASSERT_TRUE(AnswerPasswords("pw", false, kTitle + " - " + encrypted));
    ASSERT_TRUE(DismissBox());  // there is no file absent.enc
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_EQ(program->ExitStatus(), 1);
    EXPECT_TRUE(program->ErrorOutput().contains("absent.enc"));
    EXPECT_EQ(ReadFile(Path(QStringLiteral("-a b \u00fc.txt"))), plain_);
    EXPECT_EQ(ReadDecrypted(Path(encrypted), "pw"), plain_) << "the source stays";
}

TEST_F(XFileManager, AsksBeforeReplacingAndNoKeepsTheFileAsItWas) {
    const QByteArray edited = "edited after the encryption";
    ASSERT_TRUE(WriteEncrypted(Path("notes.txt.enc"), plain_, "pw"));
    ASSERT_TRUE(WriteFile(Path("notes.txt"), edited));

    auto program = Start({"--decrypt", "notes.txt.enc"});
    ASSERT_TRUE(DismissBox());  // "... already exists. Replace it?": No, the default
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_EQ(program->ExitStatus(), 1);
    // Asked before the password: Return on the prompt would have ended it there.
    EXPECT_TRUE(program->ErrorOutput().contains("notes.txt\" already exists. Replace it?"))
        << program->ErrorOutput().toStdString();
    EXPECT_EQ(ReadFile(Path("notes.txt")), edited);
}

// Escape while the strip shows: "Stop?", Yes, "Stopped.", and nothing is
// left of the output. Without the window, the strip has the keyboard.
TEST_F(XFileManager, EscapeWhileWorkingStopsAndLeavesNoOutput) {
    const QByteArray large(400 << 20, 'q');
    ASSERT_TRUE(WriteFile(Path("large.bin"), large));
    auto program = Start({"--encrypt", "large.bin"});
    ASSERT_TRUE(AnswerPasswords("pw", true));
    QThread::msleep(300);  // the strip shows and takes the keyboard
    ASSERT_TRUE(x_.Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")},
                       nullptr, {}, 10000));
    ASSERT_TRUE(DismissBox());  // "Stop? The output so far is discarded.": Yes
    ASSERT_TRUE(DismissBox());  // "Stopped."
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_EQ(program->ExitStatus(), 1);
    EXPECT_TRUE(program->ErrorOutput().contains("Stopped."))
        << program->ErrorOutput().toStdString();
    EXPECT_EQ(QDir(QtPath(folder_)).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("large.bin")});
    EXPECT_EQ(ReadFile(Path("large.bin")), large);
}

}  // namespace
