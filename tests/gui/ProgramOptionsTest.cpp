// The options beside the "/" command line.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "core/CommandLine.h"
#include "gui/ProgramOptions.h"

namespace {

using gui::programoptions::Option;
using gui::programoptions::Options;
using gui::programoptions::Read;

TEST(ProgramOptions, HelpAndVersionOnlyAsTheSoleArgument) {
    EXPECT_EQ(Read({"--help"}).option, Option::Help);
    EXPECT_EQ(Read({"-h"}).option, Option::Help);
    EXPECT_EQ(Read({"--version"}).option, Option::Version);
    // Anything more is a "/" command line (or text inside one).
    EXPECT_EQ(Read({"--help", "/encrypt"}).option, Option::None);
    EXPECT_EQ(Read({"/encrypt", "/string", "/1", "/--help"}).option, Option::None);
    EXPECT_EQ(Read({"--HELP"}).option, Option::None);
    EXPECT_EQ(Read({}).option, Option::None);

    const auto help = gui::programoptions::AnswerWithoutDisplay(Read({"-h"}));
    ASSERT_TRUE(help.has_value());
    EXPECT_EQ(help->status, 0);
    EXPECT_FALSE(help->text.contains('\r'));
    EXPECT_FALSE(gui::programoptions::AnswerWithoutDisplay(Read({"--encrypt", "a"})).has_value());
}

TEST(ProgramOptions, FileEntriesTakeEveryWordAsAPath) {
    EXPECT_EQ(Read({"--encrypt", "/home/me/a b.txt", "rel/c", "--version"}),
              (Options{Option::EncryptFiles, {"/home/me/a b.txt", "rel/c", "--version"}}));
    EXPECT_EQ(Read({"--decrypt", "--", "--", "-x.enc"}),
              (Options{Option::DecryptFiles, {"--", "-x.enc"}}));
    EXPECT_EQ(Read({"--decrypt"}), (Options{Option::DecryptFiles, {}}));
    EXPECT_EQ(Read({"--encrypt", "--"}), (Options{Option::EncryptFiles, {}}));
    EXPECT_EQ(Read({"x", "--encrypt", "a"}).option, Option::None);
    // "Open with": the desktop entry passes one path, or none from the menu.
    EXPECT_EQ(Read({"--open", "/home/me/\u00e4 b.txt"}),
              (Options{Option::OpenFile, {"/home/me/\u00e4 b.txt"}}));
    EXPECT_EQ(Read({"--open", "--", "-n.txt"}), (Options{Option::OpenFile, {"-n.txt"}}));
    EXPECT_EQ(Read({"--open"}), (Options{Option::OpenFile, {}}));
    EXPECT_FALSE(gui::programoptions::AnswerWithoutDisplay(Read({"--open", "a"})).has_value());
}

// The help is for this system: its "/" examples are usable command lines
// here, spelled as the command is typed, and scripts are sent to quillbox-cli.
TEST(ProgramOptions, HelpExamplesWorkOnThisSystem) {
    const QString help = gui::programoptions::HelpText();
    const QRegularExpression example(QStringLiteral("^  quillbox (/.*)$"),
                                     QRegularExpression::MultilineOption);
    int examples = 0;
    for (auto match = example.globalMatch(help); match.hasNext(); ++examples) {
        const QString arguments = match.next().captured(1);
        EXPECT_NE(core::commandline::Parse(arguments.toStdU16String()).action,
                  core::commandline::Action::Usage)
            << arguments.toStdString();
    }
    EXPECT_EQ(examples, 4);
    EXPECT_FALSE(help.contains(QStringLiteral("Quillbox /")));
    EXPECT_FALSE(help.contains(QStringLiteral(":\\")));
    EXPECT_TRUE(help.contains(QStringLiteral("quillbox-cli")));
}

}  // namespace
