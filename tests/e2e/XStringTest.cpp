// String encryption from the command line on an X display without any
// clipboard manager: the result must still be on the clipboard after the
// program has ended, ready to paste and to decrypt in a second run.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "XSession.h"

namespace {

class XStringCommandLine : public XSession {
protected:
    // Runs the program to its end and returns the clipboard's text then.
    QByteArray RunAndPaste(const QStringList& arguments) {
        auto program = Start(arguments);
        EXPECT_TRUE(program->WaitForExit());
        EXPECT_EQ(program->ExitStatus(), 0) << program->ErrorOutput().toStdString();
        program.reset();
        return x_.ClipboardText();
    }

    // Decrypts the clipboard's ciphertext in a second run and returns what the
    // clipboard holds after that.
    QByteArray DecryptPasted(const QByteArray& cipher, const QString& password = "123") {
        return RunAndPaste(
            {"/decrypt", "/string", "/" + password, "/" + QString::fromLatin1(cipher)});
    }
};

TEST_F(XStringCommandLine, ClipboardOutlivesProgramAndDecryptsInSecondRun) {
    const QByteArray cipher =
        RunAndPaste({"/encrypt", "/string", "/123", "/This is a string encryption test."});
    // Exactly the Base64 text: nothing added before or after it.
    EXPECT_TRUE(QRegularExpression("^([A-Za-z0-9+/]{4})+$").match(cipher).hasMatch())
        << cipher.toStdString();
    EXPECT_EQ(DecryptPasted(cipher), "This is a string encryption test.");
}

TEST_F(XStringCommandLine, SeparateWordsAndSlashesFormOneText) {
    // A shell hands over separate words; a/b//c stays one text.
    const QByteArray cipher =
        RunAndPaste({"/encrypt", "/String", "/123", "/two", "words", "a/b//c", ""});
    EXPECT_EQ(DecryptPasted(cipher), "two words a/b//c ");
}

TEST_F(XStringCommandLine, LongCiphertextWithLineBreaksRoundTrips) {
    const QString text(300, QLatin1Char('x'));
    const QByteArray cipher = RunAndPaste({"/encrypt", "/string", "/123", "/" + text});
    EXPECT_TRUE(cipher.contains("\r\n")) << "Base64 lines of 76 characters";
    EXPECT_EQ(DecryptPasted(cipher), text.toLatin1());
}

TEST_F(XStringCommandLine, AskPromptsForThePassword) {
    auto program = Start({"/encrypt", "/string", "/-ASK", "/secret text"});
    ASSERT_TRUE(AnswerPrompt("typed"));
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_EQ(program->ExitStatus(), 0);
    program.reset();
    const QByteArray cipher = x_.ClipboardText();
    EXPECT_EQ(DecryptPasted(cipher, "typed"), "secret text");
}

// The background server that keeps the clipboard leaves as soon as another
// program owns the clipboard, and serves exactly the text it was given.
TEST_F(XStringCommandLine, ClipboardServerLeavesWhenAnotherProgramTakesOver) {
    QProcess server;
    QProcessEnvironment environment = QuillboxProcess::OnDisplay(server_.Display());
    server.setProcessEnvironment(environment);
    server.start(QStringLiteral(QUILLBOX_EXECUTABLE), {"--quillbox-serve-clipboard"});
    ASSERT_TRUE(server.waitForStarted());
    const QByteArray text = "line one\r\nline two \xc3\xa4";
    server.write(text);
    server.closeWriteChannel();
    ASSERT_TRUE(server.waitForReadyRead(20000));
    EXPECT_EQ(server.read(1), "1");

    EXPECT_EQ(x_.ClipboardText(), text);
    ASSERT_TRUE(x_.TakeClipboard("someone else"));
    EXPECT_TRUE(server.waitForFinished(20000));
    EXPECT_EQ(server.exitCode(), 0);
    EXPECT_EQ(x_.ClipboardText(), "someone else");
}

// The server runs until someone else copies something, possibly for hours:
// it must not keep the folder it was started in busy.
TEST_F(XStringCommandLine, ClipboardServerLetsGoOfItsWorkingFolder) {
    QProcess server;
    server.setProcessEnvironment(QuillboxProcess::OnDisplay(server_.Display()));
    server.setWorkingDirectory(QtPath(folder_));
    server.start(QStringLiteral(QUILLBOX_EXECUTABLE), {"--quillbox-serve-clipboard"});
    ASSERT_TRUE(server.waitForStarted());
    server.write("kept text");
    server.closeWriteChannel();
    ASSERT_TRUE(server.waitForReadyRead(20000));
    EXPECT_EQ(QFile::symLinkTarget(QStringLiteral("/proc/%1/cwd").arg(server.processId())), "/");
    ASSERT_TRUE(x_.TakeClipboard("someone else"));
    EXPECT_TRUE(server.waitForFinished(20000));
}

}  // namespace
