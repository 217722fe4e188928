// File encryption and decryption from the command line on an X display, with
// the user answering the program's prompts and message boxes.

#include <QDir>
#include <QFile>

#include "CipherFiles.h"
#include "XSession.h"
#include "core/ExitStatus.h"

namespace {

class XFileCommandLine : public XSession {
protected:
    void SetUp() override {
        XSession::SetUp();
        ASSERT_TRUE(WriteFile(Path("plain.txt"), plain_));
    }

    const QByteArray plain_ = SampleBytes(20000);
};

TEST_F(XFileCommandLine, EncryptAsksForRetypeThenWipesSource) {
    auto program = Start({"/encrypt", "/plain.txt", "/s3cret"});
    ASSERT_TRUE(AnswerPrompt("s3cret"));
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_EQ(program->ExitStatus(), 0);
    EXPECT_FALSE(QFile::exists(Path("plain.txt")));
    EXPECT_EQ(ReadDecrypted(Path("plain.txt.enc"), "s3cret"), plain_);
}

TEST_F(XFileCommandLine, PasswordIsGoneFromTheProcessListWhileTheRetypePromptWaits) {
    auto program = Start({"/encrypt", "/plain.txt", "/s3cret", "/out.enc"});
    ASSERT_FALSE(x_.WaitForWindow(kTitle).isEmpty());
    const std::optional<QByteArray> cmdline =
        ReadFile(QStringLiteral("/proc/%1/cmdline").arg(program->ProcessId()));
    ASSERT_TRUE(cmdline.has_value());
    EXPECT_TRUE(cmdline->startsWith(QUILLBOX_EXECUTABLE)) << cmdline->toStdString();
    EXPECT_FALSE(cmdline->contains("s3cret"));
    EXPECT_FALSE(cmdline->contains("plain.txt")) << "every argument is overwritten";
    ASSERT_TRUE(AnswerPrompt("s3cret"));
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_EQ(program->ExitStatus(), 0);
    EXPECT_EQ(ReadDecrypted(Path("out.enc"), "s3cret"), plain_);
}

TEST_F(XFileCommandLine, MismatchedRetypeTouchesNoFile) {
    auto program = Start({"/encrypt", "/plain.txt", "/s3cret", "/out.enc"});
    ASSERT_TRUE(AnswerPrompt("other"));
    ASSERT_TRUE(DismissBox());  // "You typed a different password."
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_EQ(program->ExitStatus(), 1);
    EXPECT_EQ(ReadFile(Path("plain.txt")), plain_);
    EXPECT_FALSE(QFile::exists(Path("out.enc")));
}

TEST_F(XFileCommandLine, CancelledRetypeFails) {
    auto program = Start({"/encrypt", "/plain.txt", "/s3cret"});
    ASSERT_TRUE(Answer({}, {"Escape"}));
    ASSERT_TRUE(DismissBox());  // cancelling leaves a different (empty) password
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_EQ(program->ExitStatus(), 1);
    EXPECT_EQ(ReadFile(Path("plain.txt")), plain_);
    EXPECT_FALSE(QFile::exists(Path("plain.txt.enc")));
}

TEST_F(XFileCommandLine, AskRunsTheWholeDialogue) {
    auto program = Start({"/encrypt", "/plain.txt", "/-Ask"});
    ASSERT_TRUE(AnswerPrompt("typed"));
    ASSERT_TRUE(AnswerPrompt("typed"));
    ASSERT_TRUE(Answer({}, {"Escape"}));  // "Wipe original?": No
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_EQ(program->ExitStatus(), 0);
    EXPECT_EQ(ReadFile(Path("plain.txt")), plain_);
    EXPECT_EQ(ReadDecrypted(Path("plain.txt.enc"), "typed"), plain_);
}

// The wipe after a command-line encryption must never destroy the only copy,
// however the destination names the source.
TEST_F(XFileCommandLine, SameSourceAndDestinationKeepTheData) {
    ASSERT_TRUE(QFile::link(Path("plain.txt"), Path("link.txt")));
    for (const QString& destination : {QStringLiteral("plain.txt"), Path("plain.txt"),
                                       Path("./plain.txt"), QStringLiteral("link.txt")}) {
        SCOPED_TRACE(destination.toStdString());
        ASSERT_TRUE(WriteFile(Path("plain.txt"), plain_));
        auto program = Start({"/encrypt", "/plain.txt", "/pw", "/" + destination});
        ASSERT_TRUE(AnswerPrompt("pw"));
        ASSERT_TRUE(program->WaitForExit());
        EXPECT_EQ(program->ExitStatus(), 0);
        EXPECT_EQ(ReadDecrypted(QDir(QtPath(folder_)).filePath(destination), "pw"), plain_);
    }
}

TEST_F(XFileCommandLine, WrongPasswordIsReportedAndWritesNothing) {
    ASSERT_TRUE(WriteEncrypted(Path("data.enc"), plain_, "right"));
    auto program = Start({"/decrypt", "/data.enc", "/wrong"});
    ASSERT_TRUE(DismissBox());  // "Wrong password, or ..."
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_EQ(program->ExitStatus(), core::kWrongPassword);
    EXPECT_FALSE(QFile::exists(Path("data")));
}

}  // namespace
