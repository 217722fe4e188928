// The program run from a shell without any display (QT_QPA_PLATFORM=offscreen):
// file decryption with the password on the command line needs no window.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "CipherFiles.h"
#include "QuillboxProcess.h"

namespace {

class OffscreenCommandLine : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return QtPath(folder_, name); }

    int Run(const QStringList& arguments) {
        QuillboxProcess program(arguments, QuillboxProcess::Offscreen(), QtPath(folder_));
        program.WaitForExit();
        return program.ExitStatus();
    }

    QStringList Files() const { return QDir(QtPath(folder_)).entryList(QDir::Files); }

    testsupport::TempDir folder_;
    const QByteArray plain_ = SampleBytes(70000);
};

TEST_F(OffscreenCommandLine, DecryptsIntoNamedDestination) {
    ASSERT_TRUE(WriteEncrypted(Path("report.enc"), plain_, QStringLiteral("123")));
    // The last field may be any path, inner spaces included.
    const QString destination = Path(QStringLiteral("plain copy.bin"));
    EXPECT_EQ(Run({"/decrypt", "/report.enc", "/123", "/" + destination}), 0);
    EXPECT_EQ(ReadFile(destination), plain_);
    EXPECT_EQ(ReadFile(Path("report.enc")).has_value(), true) << "decryption keeps its source";
}

TEST_F(OffscreenCommandLine, DecryptsIntoSourceWithoutItsSuffix) {
    ASSERT_TRUE(WriteEncrypted(Path("notes.txt.enc"), plain_, QStringLiteral("pass word")));
    ASSERT_TRUE(WriteFile(Path("notes.txt"), "an older file that is replaced"));
    // Any case for the words; the password loses only its surrounding spaces.
    EXPECT_EQ(Run({"run", "/DECRYPT", "/", "notes.txt.enc", "/", "pass", "word", ""}), 0);
    EXPECT_EQ(ReadFile(Path("notes.txt")), plain_);
}

TEST_F(OffscreenCommandLine, QtOptionsInTheArgumentsBelongToTheCommand) {
    // "-reverse" is a Qt option; here it is part of the password.
    ASSERT_TRUE(WriteEncrypted(Path("in.enc"), plain_, QStringLiteral("pass -reverse")));
    EXPECT_EQ(Run({"/decrypt", "/in.enc", "/pass", "-reverse", "/out.bin"}), 0);
    EXPECT_EQ(ReadFile(Path("out.bin")), plain_);
}

TEST_F(OffscreenCommandLine, MissingSourceFailsWithoutWriting) {
    EXPECT_EQ(Run({"/decrypt", "/absent.enc", "/123"}), 1);
    EXPECT_EQ(Run({"/encrypt", "/absent.txt", "/123", "/out.enc"}), 1);
    EXPECT_TRUE(Files().isEmpty()) << Files().join(' ').toStdString();
}

TEST_F(OffscreenCommandLine, EmptyPasswordFieldDoesNothingAndAsksNothing) {
    ASSERT_TRUE(WriteEncrypted(Path("in.enc"), plain_, QStringLiteral("123")));
    ASSERT_TRUE(WriteFile(Path("in.txt"), plain_));
    // A prompt would never be answered here: the run would not end.
    EXPECT_EQ(Run({"/decrypt", "/in.enc", "/", "/out.bin"}), 1);
    EXPECT_EQ(Run({"/encrypt", "/in.txt", "/   "}), 1);
    EXPECT_EQ(Files(), QStringList({"in.enc", "in.txt"}));
    EXPECT_EQ(ReadFile(Path("in.txt")), plain_);
}

TEST_F(OffscreenCommandLine, StringEncryptionEndsWithoutDisplay) {
    // Without a display there is no clipboard to keep alive: the run just ends.
    EXPECT_EQ(Run({"/encrypt", "/string", "/123", "/hello", "world"}), 0);
    EXPECT_TRUE(Files().isEmpty());
}

}  // namespace
