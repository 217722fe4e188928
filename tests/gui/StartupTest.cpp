// The command line run against the real main window with scripted prompts and
// message boxes: which action runs, what the user is asked, the exit status.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <new>

#include "app/Global.h"
#include "cipher/clsBlowfish.h"
#include "core/CommandLine.h"
#include "gui/Startup.h"
#include "tests/app/support/FakePlatform.h"
#include "tests/app/support/TempFiles.h"
#include "ui/Form1.h"

namespace {

const QByteArray kPlain("line one\r\nline two\n");

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        Global::CurrentPassword.clear();
        previousFolder_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(files_.Path(".")));
    }
    void TearDown() override { QDir::setCurrent(previousFolder_); }

    // Runs the argument text as the program does after creating the window.
    int Run(const QString& argumentText) {
        form_.Form_Load(argumentText);
        return gui::startup::RunCommand(form_,
                                        core::commandline::Parse(argumentText.toStdU16String()));
    }

    void Answer(std::initializer_list<std::optional<std::u16string>> answers) {
        platform_.prompt.answers.assign(answers.begin(), answers.end());
    }

    std::u16string Decrypted(const QString& base64, const std::u16string& password) {
        std::u16string text = base64.toStdU16String();
        std::u16string key = password;
        return clsBlowfish().DecryptString(text, key, true);
    }

    FakePlatform platform_;
    Form1 form_{&platform_.services};
    TempFiles files_;
    QString previousFolder_;
};

TEST_F(StartupTest, StringEncryptionEndsOnTheClipboardWithoutPrompt) {
    EXPECT_EQ(Run("run /encrypt /string /123 / two words "), core::kCompleted);
    EXPECT_EQ(form_.Text3()->text(), " two words ");
    ASSERT_TRUE(platform_.clipboard.content.has_value());
    EXPECT_EQ(*platform_.clipboard.content, form_.Text4()->text());
    EXPECT_EQ(Decrypted(*platform_.clipboard.content, u"123"), u" two words ");
    EXPECT_TRUE(platform_.prompt.captions.empty());
    EXPECT_TRUE(Global::CurrentPassword.empty());
}

TEST_F(StartupTest, AskMakesTheStringActionPrompt) {
    Answer({u"typed"});
    // Not valid ciphertext counts as a wrong password, as for files.
    EXPECT_EQ(Run("/decrypt/string/-ASK/not base64 ciphertext"), core::kWrongPassword);
    EXPECT_EQ(platform_.prompt.captions.size(), 1u);
    EXPECT_TRUE(form_.CommandLine().isEmpty());
    EXPECT_EQ(platform_.messages.informed.size(), 1u);  // the failed decryption
}

TEST_F(StartupTest, CancelledStringPromptLeavesTheClipboardEmpty) {
    platform_.clipboard.content = QStringLiteral("older text");
    Answer({std::nullopt});
    EXPECT_EQ(Run("/encrypt/string/   /text"), core::kFailed);
    EXPECT_EQ(platform_.clipboard.Text(), QString());
    EXPECT_GE(platform_.clipboard.clears, 1);
}

TEST_F(StartupTest, FileEncryptionConfirmsOnceThenWipes) {
    files_.Write("plain.txt", kPlain);
    Answer({u"pw"});
    EXPECT_EQ(Run("/encrypt /plain.txt /pw"), core::kCompleted);
    ASSERT_EQ(platform_.prompt.captions.size(), 1u);
    EXPECT_EQ(platform_.prompt.captions[0], "Re-enter password");
    EXPECT_TRUE(platform_.messages.asked.empty()) << "no \"Wipe original?\" question";
    EXPECT_FALSE(TempFiles::Exists(files_.Path("plain.txt")));
    EXPECT_TRUE(TempFiles::Exists(files_.Path("plain.txt.enc")));
}

TEST_F(StartupTest, FileEncryptionWithMismatchFails) {
    files_.Write("plain.txt", kPlain);
    Answer({u"other"});
    EXPECT_EQ(Run("/encrypt /plain.txt /pw /out.enc"), core::kFailed);
    EXPECT_EQ(TempFiles::Read(files_.Path("plain.txt")), kPlain);
    EXPECT_FALSE(TempFiles::Exists(files_.Path("out.enc")));
}

TEST_F(StartupTest, FileDecryptionAsksNothing) {
    files_.Write("plain.txt", kPlain);
    Answer({u"pw"});
    ASSERT_EQ(Run("/encrypt/plain.txt/pw/sealed.enc"), core::kCompleted);
    Answer({});
    EXPECT_EQ(Run("/decrypt/sealed.enc/pw"), core::kCompleted);
    EXPECT_EQ(TempFiles::Read(files_.Path("sealed")), kPlain);
    EXPECT_EQ(platform_.prompt.captions.size(), 1u) << "only the encryption's retype";

    // Scripts rely on the command line replacing an existing file, "-ask" or not.
    files_.Write("sealed", "edited");
    Answer({u"pw"});
    EXPECT_EQ(Run("/decrypt/sealed.enc/-ask"), core::kCompleted);
    EXPECT_TRUE(platform_.messages.asked.empty());
    EXPECT_EQ(TempFiles::Read(files_.Path("sealed")), kPlain);
}

TEST_F(StartupTest, MissingSourceFailsSilently) {
    EXPECT_EQ(Run("/decrypt/absent.enc/pw"), core::kFailed);
    EXPECT_EQ(Run("/encrypt/absent.txt/pw"), core::kFailed);
    EXPECT_TRUE(platform_.messages.informed.empty());
    EXPECT_TRUE(platform_.prompt.captions.empty());
}

TEST_F(StartupTest, UnusableCommandLineShowsUsageText) {
    for (const QString line : {"/encrypt/string/pw", "/decrypt/abcd/pw", "nothing"}) {
        platform_.messages.informed.clear();
        EXPECT_EQ(Run(line), core::kUsage) << line.toStdString();
        ASSERT_EQ(platform_.messages.informed.size(), 1u);
        EXPECT_TRUE(platform_.messages.informed[0].contains("Usage: "));
    }
    EXPECT_TRUE(platform_.prompt.captions.empty());
}

TEST_F(StartupTest, AnEmptyArgumentIsAnUnusableCommandLine) {
    // A script's empty variable: nobody may be there to close a window. Should
    // the window's event loop start after all, this ends it.
    QTimer endLoop;
    endLoop.setSingleShot(true);
    QObject::connect(&endLoop, &QTimer::timeout, qApp, &QCoreApplication::quit);
    endLoop.start(0);
    EXPECT_EQ(gui::startup::Start(form_, {""}), core::kUsage);
    ASSERT_EQ(platform_.messages.informed.size(), 1u);
    EXPECT_TRUE(platform_.messages.informed[0].contains("Usage: "));
    EXPECT_FALSE(form_.isVisible());
}

TEST_F(StartupTest, WhatTheActionThrowsIsReportedAsAFailure) {
    // Memory running out in the middle of the work.
    platform_.pump.onPump = [] { throw std::bad_alloc(); };
    EXPECT_EQ(Run("/encrypt/string/pw/" + QString(5000, QChar('s'))), core::kFailed);
    ASSERT_FALSE(platform_.messages.informed.empty());
    EXPECT_TRUE(platform_.messages.informed[0].contains("not enough memory"));
}

TEST_F(StartupTest, FileOutcomesHaveTheirOwnExitStatus) {
    files_.Write("plain.txt", kPlain);
    // A source that is a symbolic link is encrypted but not wiped.
    ASSERT_TRUE(QFile::link(files_.Path("plain.txt"), files_.Path("link.txt")));
    Answer({u"pw"});
    EXPECT_EQ(Run("/encrypt /link.txt /pw /sealed.enc"), core::kNotWiped);
    ASSERT_EQ(platform_.messages.informed.size(), 1u);
    EXPECT_TRUE(platform_.messages.informed[0].contains("not wiped"));
    EXPECT_EQ(TempFiles::Read(files_.Path("plain.txt")), kPlain);

    platform_.messages.informed.clear();
    EXPECT_EQ(Run("/decrypt /sealed.enc /wrong"), core::kWrongPassword);
    EXPECT_FALSE(TempFiles::Exists(files_.Path("sealed")));
    EXPECT_EQ(Run("/decrypt /plain.txt /pw /out.txt"), core::kWrongPassword) << "not a container";
    EXPECT_EQ(Run("/decrypt /sealed.enc /pw"), core::kCompleted);
    EXPECT_EQ(TempFiles::Read(files_.Path("sealed")), kPlain);
}

// A folder, or a name whose bytes are not valid in the system's encoding,
// is explained instead of failing silently (or writing to another name).
TEST_F(StartupTest, FolderOrUndecodableNameIsExplained) {
    files_.Write("plain.txt", kPlain);
    ASSERT_TRUE(QDir(files_.Path(".")).mkdir("folder.enc"));
    EXPECT_EQ(Run("/decrypt /folder.enc /pw"), core::kFailed);
    ASSERT_EQ(platform_.messages.informed.size(), 1u);
    EXPECT_TRUE(platform_.messages.informed[0].contains("is a folder"))
        << platform_.messages.informed[0].toStdString();

    platform_.messages.informed.clear();
    const char* const argv[] = {"quillbox", "/encrypt", "/plain.txt", "/pw", "/out\xe9.enc"};
    const QString line = gui::startup::ArgumentText(gui::startup::ProgramArguments(5, argv));
    EXPECT_EQ(Run(line), core::kFailed);
    ASSERT_EQ(platform_.messages.informed.size(), 1u);
    EXPECT_TRUE(platform_.messages.informed[0].contains("not a valid file name"));
    EXPECT_EQ(QDir(files_.Path(".")).entryList(QDir::Files), QStringList{"plain.txt"});
}

TEST(StartupArguments, JoinedWithSingleSpaces) {
    const char* const argv[] = {"quillbox", "/encrypt", "/string", "/1", "/a  b", "-reverse"};
    const QStringList arguments = gui::startup::ProgramArguments(6, argv);
    EXPECT_EQ(gui::startup::ArgumentText(arguments), "/encrypt /string /1 /a  b -reverse");
    EXPECT_EQ(gui::startup::ArgumentText({}), "");
}

// The file-manager entry: each path through the window's own dialogue.
class RunFilesTest : public StartupTest {};

TEST_F(RunFilesTest, EachFileGetsTheWindowsDialogueAndMissingOnesAreReported) {
    files_.Write("a b.txt", kPlain);
    // A relative name is taken against the working folder, as Browse would give it.
    Answer({u"pw", u"pw"});
    platform_.messages.answers = {false};  // "Wipe original?": No
    EXPECT_EQ(gui::startup::RunFiles(form_, platform_.messages, true, {"a b.txt", "gone.txt"}),
              core::kFailed);
    EXPECT_EQ(form_.Text2()->text(), QDir::current().absoluteFilePath("a b.txt.enc"));
    ASSERT_EQ(platform_.messages.asked.size(), 1u);
    ASSERT_EQ(platform_.messages.informed.size(), 1u);
    EXPECT_TRUE(platform_.messages.informed[0].contains("gone.txt"));
    EXPECT_EQ(TempFiles::Read(files_.Path("a b.txt")), kPlain);

    // The kept original is replaced only after a Yes, No being the default.
    files_.Write("a b.txt", "edited");
    Answer({u"pw"});
    platform_.messages.answers = {true};
    EXPECT_EQ(
        gui::startup::RunFiles(form_, platform_.messages, false, {files_.Path("a b.txt.enc")}),
        core::kCompleted);
    EXPECT_TRUE(platform_.messages.asked.back().endsWith("already exists. Replace it?"));
    EXPECT_EQ(platform_.messages.preselected.back(), core::flows::DefaultAnswer::No);
    EXPECT_EQ(TempFiles::Read(files_.Path("a b.txt")), kPlain);
}

TEST_F(RunFilesTest, AFolderIsOneSetWithOnePasswordOneWipeQuestionAndASummary) {
    QDir(files_.Path(".")).mkpath("docs/sub");
    files_.Write("docs/one.txt", kPlain);
    files_.Write("docs/sub/.two", kPlain);
    files_.Write("docs/done.enc", "x");
    files_.Write("single.txt", kPlain);
    Answer({u"pw", u"pw"});
    platform_.messages.answers = {true};  // wipe all
    EXPECT_EQ(gui::startup::RunFiles(form_, platform_.messages, true,
                                     {files_.Path("docs"), files_.Path("single.txt")}),
              core::kCompleted);
    EXPECT_EQ(platform_.prompt.captions.size(), 2u);  // asked and retyped once
    EXPECT_EQ(platform_.messages.asked, std::vector<QString>{"Wipe the 3 originals?"});
    ASSERT_EQ(platform_.messages.informed.size(), 1u);
    EXPECT_TRUE(platform_.messages.informed[0].startsWith("3 encrypted, 1 skipped, 0 failed."))
        << platform_.messages.informed[0].toStdString();
    EXPECT_TRUE(platform_.messages.informed[0].contains("done.enc"));
    for (const char* name : {"docs/one.txt", "docs/sub/.two", "single.txt"}) {
        EXPECT_FALSE(TempFiles::Exists(files_.Path(name))) << name;
        EXPECT_TRUE(TempFiles::Exists(files_.Path(name) + ".enc")) << name;
    }

    Answer({u"pw"});
    platform_.messages.informed.clear();
    EXPECT_EQ(gui::startup::RunFiles(form_, platform_.messages, false, {files_.Path("docs")}),
              core::kWrongPassword);  // "done.enc" is no encrypted file
    EXPECT_EQ(TempFiles::Read(files_.Path("docs/sub/.two")), kPlain);
    ASSERT_EQ(platform_.messages.informed.size(), 1u);
    EXPECT_TRUE(platform_.messages.informed[0].startsWith("2 decrypted, 0 skipped, 1 failed."));
}

TEST_F(RunFilesTest, WithoutFilesTheUserChoosesOne) {
    platform_.fileDialog.answer = std::nullopt;  // cancelled: nothing runs
    EXPECT_EQ(gui::startup::RunFiles(form_, platform_.messages, true, {}), core::kFailed);
    EXPECT_TRUE(platform_.prompt.captions.empty());

    files_.Write("chosen.enc", QByteArray());
    platform_.fileDialog.answer = files_.Path("chosen.enc");
    Answer({std::nullopt});  // the prompt is cancelled
    EXPECT_EQ(gui::startup::RunFiles(form_, platform_.messages, false, {}), core::kFailed);
    EXPECT_EQ(platform_.prompt.captions.size(), 1u);
    EXPECT_EQ(form_.Text2()->text(), files_.Path("chosen"));
}

// UTF-8 is decoded; each byte that is not part of valid UTF-8 (a stray
// byte, an overlong form, an encoded surrogate) stands for itself as a lone
// surrogate, so that no file name can be made of it.
TEST(StartupArguments, UndecodableBytesBecomeLoneSurrogates) {
    const char* const argv[] = {"quillbox", "caf\xc3\xa9 \xf0\x9f\x94\x91", "a\xe9z", "\xc0\xaf",
                                "\xed\xa0\x80"};
    const QStringList arguments = gui::startup::ProgramArguments(5, argv);
    EXPECT_EQ(arguments[0], QString::fromUtf8("caf\xc3\xa9 \xf0\x9f\x94\x91"));
    using Units = std::u16string;
    EXPECT_EQ(arguments[1].toStdU16String(), (Units{u'a', 0xDCE9, u'z'}));
    EXPECT_EQ(arguments[2].toStdU16String(), (Units{0xDCC0, 0xDCAF}));
    EXPECT_EQ(arguments[3].toStdU16String(), (Units{0xDCED, 0xDCA0, 0xDC80}));
}

}  // namespace
