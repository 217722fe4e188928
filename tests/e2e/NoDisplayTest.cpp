// The program started where nobody can see a window: with no display at all,
// and on the offscreen platform. It must answer, say why on standard error
// and end; never abort and never wait for a box that nobody can answer.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QRegularExpression>

#include "CipherFiles.h"
#include "QuillboxProcess.h"

namespace {

struct Outcome {
    int status = -1;
    QString output;
    QString error;
};

class Headless : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return QtPath(folder_, name); }

    Outcome Run(const QStringList& arguments, const QProcessEnvironment& environment) {
        QuillboxProcess program(arguments, environment, QtPath(folder_));
        // A program that waits for an answer would stay here until killed.
        EXPECT_TRUE(program.WaitForExit(20000)) << "still running: " << Describe(arguments);
        return {program.ExitStatus(), program.Output(), program.ErrorOutput()};
    }

    static std::string Describe(const QStringList& arguments) {
        return arguments.join(' ').toStdString();
    }

    QStringList Files() const { return QDir(QtPath(folder_)).entryList(QDir::Files); }

    testsupport::TempDir folder_;
};

TEST_F(Headless, HelpAndVersionNeedNoDisplay) {
    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const Outcome outcome = Run({option}, QuillboxProcess::NoDisplay());
        EXPECT_EQ(outcome.status, 0) << outcome.error.toStdString();
        EXPECT_TRUE(outcome.output.contains("\n  quillbox /decrypt /string /123 /"));
        EXPECT_TRUE(outcome.output.contains("--encrypt FILE"));
        EXPECT_TRUE(outcome.output.contains("quillbox-cli"));
        EXPECT_FALSE(outcome.output.contains('\r')) << "plain line feeds on a terminal";
    }
    const Outcome version = Run({"--version"}, QuillboxProcess::NoDisplay());
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(
        QRegularExpression("^Quillbox \\d+\\.\\d+\\.\\d+\\n$").match(version.output).hasMatch())
        << version.output.toStdString();
}

TEST_F(Headless, WithoutDisplayEverythingElseSaysWhyAndEnds) {
    ASSERT_TRUE(WriteEncrypted(Path("a.enc"), "plain", "123"));
    const QList<QStringList> commands = {
        {},                              // the window
        {"/decrypt", "/a.enc", "/123"},  // an operation that needs no window at all
        {"--decrypt", "a.enc"},          // the file-manager entry
        {"--help", "me"},                // not the option: a "/" command line without "/"
        {""},                            // a script's empty variable
        {"", ""},
    };
    for (const QStringList& command : commands) {
        SCOPED_TRACE(Describe(command));
        const Outcome outcome = Run(command, QuillboxProcess::NoDisplay());
        EXPECT_TRUE(outcome.error.contains("Quillbox: no usable display"))
            << outcome.error.toStdString();
        // An unusable command line keeps its status and its usage text.
        const bool usage = !command.isEmpty() && (command[0] == "--help" || command[0] == "");
        EXPECT_EQ(outcome.status, usage ? 2 : 1);
        EXPECT_EQ(outcome.error.contains("Usage: "), usage);
    }
    EXPECT_EQ(Files(), QStringList{"a.enc"});
}

TEST_F(Headless, OffscreenBoxesAreNotWaitedOnButPrinted) {
    ASSERT_TRUE(WriteFile(Path("plain.txt"), "secret data"));
    const auto offscreen = QuillboxProcess::Offscreen();

    const Outcome usage = Run({"/encrypt", "/string", "/123"}, offscreen);
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(usage.error.contains("Usage: ")) << usage.error.toStdString();

    const Outcome wrong =
        Run({"/decrypt", "/string", "/123", "/AAAAAAAAAAAAAAAAAAAAAAAA"}, offscreen);
    EXPECT_NE(wrong.status, 0);
    EXPECT_TRUE(wrong.error.contains("Wrong password")) << wrong.error.toStdString();

    // Prompts cannot be typed into: the same as cancelling them.
    for (const QStringList& command : QList<QStringList>{{"/encrypt", "/plain.txt", "/-ask"},
                                                         {"--encrypt", "plain.txt"},
                                                         {"/encrypt", "/string", "/-ask", "/x"}}) {
        SCOPED_TRACE(Describe(command));
        const Outcome outcome = Run(command, offscreen);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_TRUE(outcome.error.contains("password")) << outcome.error.toStdString();
    }
    EXPECT_EQ(Files(), QStringList{"plain.txt"});
    EXPECT_EQ(ReadFile(Path("plain.txt")), "secret data");

    // Nobody can agree to replace a file: it stays, and no password is asked.
    ASSERT_TRUE(WriteEncrypted(Path("plain.txt.enc"), "other data", "123"));
    const Outcome replace = Run({"--decrypt", "plain.txt.enc"}, offscreen);
    EXPECT_EQ(replace.status, 1);
    EXPECT_TRUE(replace.error.contains("already exists. Replace it? No"))
        << replace.error.toStdString();
    EXPECT_FALSE(replace.error.contains("password")) << replace.error.toStdString();
    EXPECT_EQ(ReadFile(Path("plain.txt")), "secret data");
}

TEST_F(Headless, EveryFileActionEndsWithOneReason) {
    ASSERT_TRUE(WriteFile(Path("plain.txt"), "secret data"));
    ASSERT_EQ(::mkfifo(Path("pipe").toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", Path("zero")));
    struct Case {
        QStringList command;
        const char* reason;  // the one thing said on standard error
    };
    const Case cases[] = {
        // The retyping prompt cannot be shown either: no second complaint.
        {{"/encrypt", "/plain.txt", "/pw"}, "No display to ask for the password on"},
        {{"/encrypt", "/pipe", "/pw", "/out"}, "is not a regular file"},
        {{"/decrypt", "/zero", "/pw", "/out"}, "is not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.command));
        const Outcome outcome = Run(c.command, QuillboxProcess::Offscreen());
        EXPECT_EQ(outcome.status, 1);
        EXPECT_TRUE(outcome.error.contains(c.reason)) << outcome.error.toStdString();
        EXPECT_EQ(outcome.error.count("Quillbox: "), 1) << outcome.error.toStdString();
    }
    EXPECT_FALSE(QFile::exists(Path("out")));
    EXPECT_EQ(ReadFile(Path("plain.txt")), "secret data");
}

// Where the length alone shows that a file is no encrypted file, both
// programs say so rather than blame the password, with the same status.
TEST_F(Headless, AFileThatCannotBeAnEncryptedFileIsAWrongPasswordForBothPrograms) {
    QFile big(Path("big.enc"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_EQ(::ftruncate(big.handle(), qint64{3} << 30), 0);  // sparse: takes no room
    big.close();
    ASSERT_TRUE(WriteFile(Path("odd.enc"), QByteArray(20, '\x80')));  // not whole blocks
    const std::pair<QString, QString> cases[] = {
        {"big.enc", "The file \"big.enc\" is too large to be an encrypted file"},
        {"odd.enc", "\"odd.enc\" is not an encrypted file."},
    };
    for (const auto& [name, sentence] : cases) {
        SCOPED_TRACE(name.toStdString());
        const Outcome window =
            Run({"/decrypt", "/" + name, "/pw", "/out"}, QuillboxProcess::Offscreen());
        testsupport::Launch launch;
        launch.args = {"decrypt", name.toStdString(), "-o", "out", "--password-env", "PASSWORD"};
        launch.folder = folder_.Path();
        launch.environment = {{"PASSWORD", "pw"}};
        testsupport::ChildProcess cli(QUILLBOX_CLI_EXECUTABLE, launch);
        const std::optional<testsupport::Result> ended = cli.Wait(std::chrono::seconds(20));
        ASSERT_TRUE(ended);
        const QString cliError = QString::fromStdString(ended->err);
        EXPECT_EQ(window.status, 4) << window.error.toStdString();
        EXPECT_EQ(ended->status, 4) << cliError.toStdString();
        EXPECT_TRUE(window.error.contains(sentence)) << window.error.toStdString();
        EXPECT_TRUE(cliError.contains(sentence)) << cliError.toStdString();
        EXPECT_FALSE(QFile::exists(Path("out")));
    }
}

}  // namespace
