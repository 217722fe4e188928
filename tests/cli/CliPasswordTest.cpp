// Where the password comes from, and where it must not show.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/cli/CliTestSupport.h"

namespace clitest {
namespace {

using testsupport::TempDir;

std::string ProcFile(pid_t pid, const char* name) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CliPassword : public ::testing::Test {
protected:
    void SetUp() override { dir_.Write("plain", AsBytes("the plain text")); }

    // True when "plain.enc" decrypts to the plain text under password.
    bool EncryptedUnder(const std::string& password) const {
        bool valid = false;
        const ByteArray data = EngineDecrypt(dir_.Read("plain.enc"), valid, password);
        return valid && AsString(data) == "the plain text";
    }

    Launch Encrypt(std::vector<std::string> passwordArgs) const {
        Launch launch;
        launch.folder = dir_.Path();
        launch.args = {"encrypt", "plain", "--force"};
        launch.args.insert(launch.args.end(), passwordArgs.begin(), passwordArgs.end());
        return launch;
    }

    TempDir dir_;
};

TEST_F(CliPassword, EachSourceGivesTheSamePassword) {
    Launch fd = Encrypt({"--password-fd", "3"});
    fd.descriptor3 = "pa ss\r\nsecond line ignored\n";
    ASSERT_EQ(RunCli(fd).status, 0);
    EXPECT_TRUE(EncryptedUnder("pa ss"));

    std::ofstream(dir_.Path("pw")) << "from file\n";
    ASSERT_EQ(RunCli(Encrypt({"--password-file", "pw"})).status, 0);
    EXPECT_TRUE(EncryptedUnder("from file"));

    Launch env = Encrypt({"--password-env=QB_PW"});
    env.environment = {{"QB_PW", "from env\n"}};
    ASSERT_EQ(RunCli(env).status, 0);
    EXPECT_TRUE(EncryptedUnder("from env\n")) << "a variable is taken whole";
}

TEST_F(CliPassword, NonAsciiPasswordsMatchTheWindowProgram) {
    // The window hands the engine 16-bit text; the tool gets UTF-8 bytes.
    clsBlowfish cipher;
    ByteArray container = AsBytes("data");
    cipher.EncryptByte(container, u"s\u00e9same \u20ac");
    dir_.Write("w.enc", container);
    Launch launch = WithPassword(dir_, {"decrypt", "w.enc"}, "s\xc3\xa9same \xe2\x82\xac");
    ASSERT_EQ(RunCli(launch).status, 0);
    EXPECT_EQ(AsString(dir_.Read("w")), "data");

    const Result refused = RunCli(WithPassword(dir_, {"decrypt", "w.enc", "-f"}, "\xe2\x9c\x93"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("\"\xe2\x9c\x93\""), std::string::npos) << refused.err;
}

TEST_F(CliPassword, UnusablePasswordsAreRefusedBeforeAnyWork) {
    Launch empty = Encrypt({"--password-fd", "3"});
    empty.descriptor3 = "\n";
    Launch unset = Encrypt({"--password-env", "QB_NOT_SET_ANYWHERE"});
    Launch missing = Encrypt({"--password-file", "no-such-file"});
    Launch folder = Encrypt({"--password-file", "."});
    Launch badUtf8 = Encrypt({"--password-fd", "3"});
    badUtf8.descriptor3 = "\xff\xfe\n";
    for (const Launch* launch : {&empty, &unset, &missing, &folder, &badUtf8}) {
        const Result r = RunCli(*launch);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_FALSE(dir_.Exists("plain.enc"));
}

TEST_F(CliPassword, WithoutTerminalOrSourceItStopsInsteadOfWaiting) {
    const Result r = RunCli(Encrypt({}));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--password-fd"), std::string::npos) << r.err;
    EXPECT_FALSE(dir_.Exists("plain.enc"));
}

TEST_F(CliPassword, FilesThatCannotBeUsedAreRefusedBeforeThePasswordIsAskedFor) {
    dir_.Write("plain.enc", AsBytes("older"));
    const std::vector<std::vector<std::string>> commands = {
        {"encrypt", "nosuch"}, {"encrypt", "plain"}, {"decrypt", "plain"}};
    for (const std::vector<std::string>& args : commands) {
        Launch launch;
        launch.folder = dir_.Path();
        launch.args = args;
        const Result r = RunCli(launch);
        EXPECT_EQ(r.status, 1) << args[1] << ": " << r.err;
        EXPECT_EQ(r.err.find("password"), std::string::npos) << r.err;
    }
    EXPECT_EQ(AsString(dir_.Read("plain.enc")), "older");
}

TEST_F(CliPassword, CommandLineOptionsForAPasswordAreRefused) {
    for (const char* option : {"--password=x", "-p"}) {
        Launch launch = Encrypt({option});
        const Result r = RunCli(launch);
        EXPECT_EQ(r.status, 2) << option;
        EXPECT_NE(r.err.find("never"), std::string::npos) << r.err;
    }
}

TEST_F(CliPassword, ThePasswordShowsNeitherInTheCommandLineNorInTheEnvironment) {
    // The tool reads the password first, then waits for its input.
    Launch launch;
    launch.args = {"encrypt", "-", "--password-env", "QB_SECRET"};
    launch.environment = {{"QB_SECRET", "hunter2-unique"}};
    CliProcess process(launch);
    // Until exec the child shows the test's own environment, so wait for
    // the tool's command line first.
    bool scrubbed = false;
    std::string cmdline;
    for (int i = 0; i < 250 && !scrubbed; ++i) {
        cmdline = ProcFile(process.Pid(), "cmdline");
        scrubbed = cmdline.find("QB_SECRET") != std::string::npos &&
                   ProcFile(process.Pid(), "environ").find("hunter2") == std::string::npos;
        if (!scrubbed) ::usleep(20000);
    }
    EXPECT_TRUE(scrubbed) << "the variable's text should be overwritten once read";
    EXPECT_EQ(cmdline.find("hunter2"), std::string::npos);
    const Result r = process.Finish("data");
    EXPECT_EQ(r.status, 0) << r.err;
    bool valid = false;
    EXPECT_EQ(AsString(EngineDecrypt(AsBytes(r.out), valid, "hunter2-unique")), "data");
}

TEST_F(CliPassword, TheTerminalIsAskedTwiceWithoutEcho) {
    Launch launch = Encrypt({});
    launch.terminal = true;
    CliProcess process(launch);
    ASSERT_TRUE(process.WaitForTerminal("Password: "));
    process.Type("typed secret");
    ASSERT_TRUE(process.WaitForTerminal("Re-enter password: "));
    process.Type("typed secret");
    const Result r = process.Finish();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(process.TerminalOutput().find("typed"), std::string::npos)
        << process.TerminalOutput();
    EXPECT_TRUE(EncryptedUnder("typed secret"));
}

TEST_F(CliPassword, AMistypedConfirmationEncryptsNothing) {
    Launch launch = Encrypt({});
    launch.terminal = true;
    CliProcess process(launch);
    ASSERT_TRUE(process.WaitForTerminal("Password: "));
    process.Type("one");
    ASSERT_TRUE(process.WaitForTerminal("Re-enter password: "));
    process.Type("two");
    const Result r = process.Finish();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("You typed a different password."), std::string::npos) << r.err;
    EXPECT_FALSE(dir_.Exists("plain.enc"));
}

TEST_F(CliPassword, DecryptionAsksOnce) {
    dir_.Write("d.enc", EngineEncrypt(AsBytes("x"), "asked"));
    Launch launch;
    launch.folder = dir_.Path();
    launch.args = {"decrypt", "d.enc"};
    launch.terminal = true;
    CliProcess process(launch);
    ASSERT_TRUE(process.WaitForTerminal("Password: "));
    process.Type("asked");
    const Result r = process.Finish();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(process.TerminalOutput().find("Re-enter"), std::string::npos);
    EXPECT_EQ(AsString(dir_.Read("d")), "x");
}

}  // namespace
}  // namespace clitest
