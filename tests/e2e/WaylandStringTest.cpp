// String encryption from the command line in a native Wayland session (weston)
// without any X display: the result must be on the Wayland clipboard after the
// program has ended, ready for any client to paste, and stay there until
// another client copies something.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include "QuillboxProcess.h"
#include "WaylandCompositor.h"

namespace {

class WaylandStringCommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(compositor_.IsRunning()) << "weston did not start";
        // Something older on the clipboard, which the result must replace.
        ASSERT_TRUE(compositor_.Copy("old clipboard text"));
    }

    // Runs the program to its end and returns what a client pastes then.
    QByteArray RunAndPaste(const QStringList& arguments) {
        QuillboxProcess program(arguments, compositor_.Environment(QuillboxProcess::NoDisplay()),
                                QDir::tempPath());
        EXPECT_TRUE(program.WaitForExit());
        EXPECT_EQ(program.ExitStatus(), 0) << program.ErrorOutput().toStdString();
        return compositor_.Paste().value_or("(wl-paste failed)");
    }

    WaylandCompositor compositor_;
};

TEST_F(WaylandStringCommandLine, ResultOutlivesTheProgramAndDecryptsInASecondRun) {
    const QByteArray cipher = RunAndPaste({"/encrypt", "/string", "/123", "/hello Wayland"});
    EXPECT_TRUE(QRegularExpression("^[A-Za-z0-9+/]+={0,2}$").match(cipher).hasMatch())
        << cipher.toStdString();
    // A second paste still gets it: the keeper serves every reader.
    EXPECT_EQ(compositor_.Paste(), cipher);

    const QByteArray plain =
        RunAndPaste({"/decrypt", "/string", "/123", "/" + QString::fromLatin1(cipher)});
    EXPECT_EQ(plain, "hello Wayland");
}

TEST_F(WaylandStringCommandLine, KeeperLeavesWhenAnotherClientCopies) {
    QProcess keeper;
    keeper.setProcessEnvironment(compositor_.Environment(QuillboxProcess::NoDisplay()));
    keeper.start(QStringLiteral(QUILLBOX_EXECUTABLE), {"--quillbox-serve-clipboard"});
    ASSERT_TRUE(keeper.waitForStarted());
    const QByteArray text = "line one\r\nline two \xc3\xa4";
    keeper.write(text);
    keeper.closeWriteChannel();
    ASSERT_TRUE(keeper.waitForReadyRead(20000));
    EXPECT_EQ(keeper.read(1), "1") << "ready only once the compositor took the text";
    EXPECT_EQ(compositor_.Paste(), text);

    ASSERT_TRUE(compositor_.Copy("someone else"));
    EXPECT_TRUE(keeper.waitForFinished(20000));
    EXPECT_EQ(keeper.exitCode(), 0);
    EXPECT_EQ(compositor_.Paste(), "someone else");
}

}  // namespace
