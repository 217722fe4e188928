// The command-line parser, the output names and the ranking of statuses.

#include <gtest/gtest.h>

#include "cli/Options.h"
#include "cli/OutputName.h"
#include "core/flows/Outcome.h"

namespace cli {
namespace {

TEST(CliOptions, OptionsAndFilesMixInAnyOrder) {
    const ParsedOptions p = ParseOptions({"-af", "encrypt", "a", "--", "-b", "-q"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.command, Command::Encrypt);
    EXPECT_EQ(p.options.files, (std::vector<std::string>{"a", "-b", "-q"}));
    EXPECT_TRUE(p.options.armor && p.options.force);
    // The wipe checks raw containers only.
    EXPECT_NE(ParseOptions({"-aw", "encrypt", "a"}).error, "");
    EXPECT_FALSE(p.options.quiet);

    const ParsedOptions o = ParseOptions({"decrypt", "-oout", "x", "--password-fd=7"});
    ASSERT_EQ(o.error, "");
    EXPECT_EQ(o.options.output, "out");
    EXPECT_EQ(o.options.password.from, PasswordFrom::Descriptor);
    EXPECT_EQ(o.options.password.descriptor, 7);
    EXPECT_EQ(o.options.threads, 0u);
    EXPECT_EQ(ParseOptions({"decrypt", "x", "--threads=7"}).options.threads, 7u);

    const ParsedOptions t = ParseOptions({"encrypt-text", "--text", "--force"});
    ASSERT_EQ(t.error, "") << "an option's value may look like an option";
    EXPECT_EQ(t.options.text, "--force");
}

TEST(CliOptions, UnusableCommandLinesSayWhy) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"shred", "a"},
        {"encrypt"},
        {"encrypt", "a", "b", "-o", "c"},
        {"encrypt", "-", "-"},
        {"decrypt", "a.enc", "--wipe"},
        {"encrypt", "-", "--wipe"},
        {"encrypt", "a", "-o", "-", "--wipe"},
        {"encrypt", "a", "--password-fd", "x"},
        {"encrypt", "a", "--password-fd", "-1"},
        {"decrypt", "a", "--threads", "0"},
        {"decrypt", "a", "--threads=2x"},
        {"decrypt", "a", "--threads", "257"},
        {"encrypt", "a", "--password-env", "A", "--password-file", "f"},
        {"encrypt", "a", "--password", "secret"},
        {"encrypt", "a", "-o"},
        {"encrypt", "a", "--frobnicate"},
        {"encrypt", "a", "--force=yes"},
        {"encrypt", "a", "--text", "t"},
        {"encrypt-text", "file"},
        {"decrypt-text", "--armor"},
    };
    for (const auto& args : bad) {
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_NE(ParseOptions(args).error, "") << joined;
    }
    // Help and version need no command.
    EXPECT_EQ(ParseOptions({"--help"}).error, "");
    EXPECT_TRUE(ParseOptions({"-V"}).options.version);
}

TEST(CliOptions, DefaultOutputsFollowTheDirection) {
    EXPECT_EQ(DefaultOutputFor("a.txt", true), "a.txt.enc");
    EXPECT_EQ(DefaultOutputFor("a.Enc", true), "a.Enc.enc");
    EXPECT_EQ(DefaultOutputFor("dir/a.txt.ENC", false), "dir/a.txt");
    EXPECT_EQ(DefaultOutputFor("a.txt", false), std::nullopt);
    EXPECT_EQ(DefaultOutputFor("\xc3\xa9t\xc3\xa9.enc", false), "\xc3\xa9t\xc3\xa9");
    EXPECT_EQ(DefaultOutputFor("-", false), "-");
    EXPECT_EQ(DefaultOutputFor("", true), std::nullopt);
}

TEST(CliOptions, TheWorstStatusWins) {
    const int order[] = {core::kCompleted, core::kNotWiped, core::kWrongPassword, core::kFailed,
                         core::kUsage};
    for (std::size_t i = 0; i < std::size(order); ++i) {
        for (std::size_t j = 0; j < std::size(order); ++j) {
            EXPECT_EQ(core::flows::WorstStatus(order[i], order[j]), order[std::max(i, j)]);
        }
    }
}

}  // namespace
}  // namespace cli
