// Standard input and output as the file of the encrypt and decrypt commands.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/cli/CliTestSupport.h"

namespace clitest {
namespace {

using testsupport::RandomBytes;
using testsupport::TempDir;

class CliStreams : public ::testing::Test {
protected:
    TempDir dir_;
};

TEST_F(CliStreams, PipesCarryDataBothWays) {
    const ByteArray plain = RandomBytes(200000, 5);
    const Result encrypted = RunCli(WithPassword(dir_, {"encrypt", "-"}), AsString(plain));
    ASSERT_EQ(encrypted.status, 0) << encrypted.err;
    bool valid = false;
    EXPECT_EQ(EngineDecrypt(AsBytes(encrypted.out), valid), plain);

    const ByteArray container = EngineEncrypt(plain);
    const Result decrypted = RunCli(WithPassword(dir_, {"decrypt", "-"}), AsString(container));
    ASSERT_EQ(decrypted.status, 0) << decrypted.err;
    EXPECT_EQ(decrypted.out, AsString(plain));
    EXPECT_EQ(decrypted.err, "");
}

TEST_F(CliStreams, StreamsMixWithFilesAndArmor) {
    const ByteArray plain = RandomBytes(1000, 9);
    dir_.Write("in", plain);
    const Result toStdout = RunCli(WithPassword(dir_, {"encrypt", "in", "-o", "-", "--armor"}));
    ASSERT_EQ(toStdout.status, 0) << toStdout.err;
    bool valid = false;
    clsBlowfish codec;
    const std::u16string text(toStdout.out.begin(), toStdout.out.end());
    EXPECT_EQ(EngineDecrypt(codec.DecodeArray64(text), valid), plain);

    const Result fromStdin =
        RunCli(WithPassword(dir_, {"decrypt", "-a", "-", "-o", "out"}), toStdout.out);
    ASSERT_EQ(fromStdin.status, 0) << fromStdin.err;
    EXPECT_EQ(dir_.Read("out"), plain);
    EXPECT_EQ(fromStdin.out, "");
}

// Everything the process has open and everything in the temporary folder,
// while piped plain data is held for the encryption: ciphertext only.
TEST_F(CliStreams, PipedPlainDataNeverReachesAnyFileReadable) {
    namespace fs = std::filesystem;
    TempDir temporary;
    const std::string line = "a line of plain text that must never be found on disk\n";
    std::string plain;
    while (plain.size() < (4u << 20)) plain += line;
    Launch launch = WithPassword(dir_, {"encrypt", "-", "-o", "out.enc"});
    launch.environment.emplace_back("TMPDIR", temporary.Path().string());
    CliProcess child(launch);
    child.Feed(plain);
    // Wait until the spool holds what was fed.
    const fs::path fds = "/proc/" + std::to_string(child.Pid()) + "/fd";
    std::size_t spooled = 0;
    for (int tries = 0; tries < 200 && spooled < plain.size(); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(fds, ec)) {
            const std::string target = fs::read_symlink(entry.path(), ec).string();
            if (target.rfind(temporary.Path().string(), 0) == 0) {
                spooled = std::max<std::size_t>(spooled, fs::file_size(entry.path(), ec));
            }
        }
    }
    EXPECT_GE(spooled, plain.size()) << "no spool in the temporary folder";
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fds, ec)) files.push_back(entry.path());
    for (const auto& entry : fs::recursive_directory_iterator(temporary.Path(), ec)) {
        files.push_back(entry.path());
    }
    for (const fs::path& file : files) {
        if (!fs::is_regular_file(file, ec)) continue;
        std::ifstream in(file, std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(content.find("must never be found"), std::string::npos) << file;
    }
    const Result r = child.Finish();
    ASSERT_EQ(r.status, 0) << r.err;
    bool valid = false;
    EXPECT_EQ(EngineDecrypt(dir_.Read("out.enc"), valid), AsBytes(plain));
    EXPECT_TRUE(temporary.Entries().empty());
}

// The peak resident size, in MiB, of a shell pipeline and what it ran.
double PeakMiB(const std::string& command) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid) return -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Pipes in both directions: memory does not grow with the data.
TEST_F(CliStreams, PipesKeepMemoryFlat) {
    const std::string cli =
        "QB=pw " + std::string(QUILLBOX_CLI_PATH) + " --password-env QB --quiet ";
    const std::string folder = dir_.Path().string() + "/";
    double smallest = 0;
    for (const int mib : {1, 64}) {
        SCOPED_TRACE(testing::Message() << mib << " MiB");
        const std::string source = "head -c " + std::to_string(mib) + "M /dev/zero | ";
        const double encrypting = PeakMiB(source + cli + "encrypt - -f -o " + folder + "x.enc");
        const double decrypting =
            PeakMiB("cat " + folder + "x.enc | " + cli + "decrypt - -o - | wc -c >/dev/null");
        const double armored = PeakMiB(source + cli + "encrypt - -a -o - | " + cli +
                                       "decrypt -a - -o - | wc -c >/dev/null");
        if (smallest == 0) smallest = std::max({encrypting, decrypting, armored});
        // The absolute figures are the benchmark's (sanitizers add to them).
        for (const double peak : {encrypting, decrypting, armored}) EXPECT_LT(peak, smallest + 4);
    }
}

// A piped container is checked whole before anything shows: on standard
// output (spooled first) and in a named file (deciphered on the way in, the
// file appearing only once the stream ended where its size descriptor said).
// Both judge a faulty stream alike, by its whole length.
TEST_F(CliStreams, NothingIsWrittenBeforeTheContainerIsChecked) {
    const ByteArray plain = RandomBytes(100000, 1);
    const ByteArray whole = EngineEncrypt(plain);
    auto cut = [&](std::size_t end) { return ByteArray(whole.begin(), whole.begin() + end); };
    ByteArray longer = whole;
    longer.insert(longer.end(), 8, 0);
    const struct {
        const char* name;
        ByteArray input;
        const char* password;
        const char* said;
    } cases[] = {
        {"one block short", cut(whole.size() - 8), kPassword, "Wrong password"},
        {"not whole blocks", cut(whole.size() - 11), kPassword, "is not an encrypted file."},
        {"a block too many", longer, kPassword, "Wrong password"},
        {"wrong password", whole, "wrong", "Wrong password"},
        {"shorter than a header", cut(12), kPassword, "is not an encrypted file."},
    };
    for (const auto& c : cases) {
        for (const bool toFile : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << c.name << (toFile ? ", into a file" : ", on stdout"));
            std::vector<std::string> args = {"decrypt", "-"};
            if (toFile) args.insert(args.end(), {"-o", "plain"});
            const Result r = RunCli(WithPassword(dir_, args, c.password), AsString(c.input));
            EXPECT_EQ(r.status, 4);
            EXPECT_EQ(r.out, "");
            EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
            EXPECT_TRUE(dir_.Entries().empty());  // no output, no temporary file
        }
    }
    const Result good =
        RunCli(WithPassword(dir_, {"decrypt", "-", "-o", "plain"}), AsString(whole));
    ASSERT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(dir_.Read("plain"), plain);
}

TEST_F(CliStreams, PasswordAndDataShareStandardInput) {
    // The first line is the password; everything after it is the data.
    const std::string data = "line one\nline two\n";
    Launch launch;
    launch.args = {"encrypt", "--password-fd", "0", "-"};
    const Result r = RunCli(launch, std::string(kPassword) + "\n" + data);
    ASSERT_EQ(r.status, 0) << r.err;
    bool valid = false;
    EXPECT_EQ(AsString(EngineDecrypt(AsBytes(r.out), valid)), data);
}

TEST_F(CliStreams, AClosedOutputIsAFailureNotASilentSuccess) {
    Launch launch = WithPassword(dir_, {"encrypt", "-", "-a"});
    launch.outputClosed = true;
    const Result r = RunCli(launch, std::string(100000, 'x'));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("standard output"), std::string::npos) << r.err;
}

// Base64 text is recognised without -a, from files and pipes alike.
TEST_F(CliStreams, ArmoredInputIsRecognisedWithoutTheOption) {
    const ByteArray plain = RandomBytes(3000, 7);
    const std::string armored = EngineBase64(EngineEncrypt(plain));
    dir_.Write("x.enc", AsBytes(armored));
    const Result file = RunCli(WithPassword(dir_, {"decrypt", "x.enc"}));
    ASSERT_EQ(file.status, 0) << file.err;
    EXPECT_EQ(dir_.Read("x"), plain);
    const Result pipe = RunCli(WithPassword(dir_, {"decrypt", "-"}), armored);
    ASSERT_EQ(pipe.status, 0) << pipe.err;
    EXPECT_EQ(pipe.out, AsString(plain));
}

}  // namespace
}  // namespace clitest
