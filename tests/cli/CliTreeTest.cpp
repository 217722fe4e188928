// encrypt -r and decrypt -r on a tree with everything a real folder holds:
// nested folders, hidden files, links out of the tree, a pipe, encrypted
// files, a file nobody may read and a name that is not UTF-8.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <thread>

#include "tests/cli/CliTestSupport.h"

namespace clitest {
namespace {

namespace fs = std::filesystem;
using testsupport::RandomBytes;
using testsupport::TempDir;

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class CliTree : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_.Path("tree/sub/deep"));
        fs::create_directories(dir_.Path("outside"));
        for (const auto& [name, size] : kPlain) dir_.Write(name, RandomBytes(size, size));
        dir_.Write("outside/o.txt", AsBytes("outside"));
        dir_.Write("tree/sub/old.enc", EngineEncrypt(AsBytes("was encrypted")));
        dir_.Write("tree/caf\xE9", AsBytes("latin-1 name"));
        dir_.Write("tree/secret", AsBytes("nobody reads this"));
        fs::create_directory_symlink("../outside", dir_.Path("tree/to-outside"));
        fs::create_symlink("../outside/o.txt", dir_.Path("tree/sub/o-link"));
        ASSERT_EQ(::mkfifo(dir_.Path("tree/pipe").c_str(), 0600), 0);
        // Root reads everything: the program then runs as "nobody", who may
        // write everywhere but read the secret.
        for (const auto& entry : fs::recursive_directory_iterator(dir_.Path())) {
            if (entry.is_directory() && !entry.is_symlink()) {
                fs::permissions(entry.path(), fs::perms::all);
            }
        }
        fs::permissions(dir_.Path(), fs::perms::all);
        for (const auto& [name, size] : kPlain) fs::permissions(dir_.Path(name), fs::perms::all);
        fs::permissions(dir_.Path("tree/caf\xE9"), fs::perms::all);
        fs::permissions(dir_.Path("tree/secret"), fs::perms::none);
    }

    Result Run(std::vector<std::string> args) {
        Launch launch = WithPassword(dir_, std::move(args));
        launch.unprivileged = ::geteuid() == 0;
        return RunCli(launch);
    }

    static bool Mentions(const Result& r, const std::string& name) {
        return r.err.find("\"tree/" + name + "\"") != std::string::npos;
    }

    const std::vector<std::pair<std::string, std::size_t>> kPlain{
        {"tree/a.txt", 1000}, {"tree/.hidden", 10}, {"tree/sub/deep/b.bin", 700000}};
    TempDir dir_;
};

TEST_F(CliTree, EncryptsAndDecryptsTheRightFilesAndNamesTheOthers) {
    const Result dry = Run({"encrypt", "-r", "--dry-run", "tree"});
    EXPECT_EQ(dry.status, 1) << dry.err;
    EXPECT_NE(dry.out.find("tree/sub/deep/b.bin -> tree/sub/deep/b.bin.enc\n"), std::string::npos)
        << dry.out;
    // The unreadable file shows only once it is read.
    EXPECT_NE(dry.out.find("4 to encrypt, 4 skipped, 1 failed"), std::string::npos) << dry.out;
    EXPECT_FALSE(dir_.Exists("tree/a.txt.enc"));

    const Result encrypted = Run({"encrypt", "-r", "tree/"});
    EXPECT_EQ(encrypted.status, 1) << encrypted.err;
    for (const char* skipped :
         {"to-outside", "sub/o-link", "pipe", "sub/old.enc", "caf\\xE9", "secret"}) {
        EXPECT_TRUE(Mentions(encrypted, skipped)) << skipped << "\n" << encrypted.err;
    }
    EXPECT_NE(encrypted.err.find("\n3 encrypted, 4 skipped, 2 failed\n"), std::string::npos)
        << encrypted.err;
    std::vector<ByteArray> originals;
    for (const auto& [name, size] : kPlain) {
        originals.push_back(dir_.Read(name));
        ASSERT_TRUE(dir_.Exists(name + ".enc")) << name;
        fs::remove(dir_.Path(name));
    }
    const std::set<std::string> outside{"o.txt"};
    EXPECT_EQ(Names(dir_.Path("outside")), outside);
    EXPECT_FALSE(dir_.Exists("tree/secret.enc"));
    EXPECT_FALSE(dir_.Exists("tree/pipe.enc"));

    const Result decrypted = Run({"decrypt", "--recursive", "tree"});
    EXPECT_EQ(decrypted.status, 0) << decrypted.err;
    EXPECT_NE(decrypted.err.find("\n4 decrypted, 3 skipped, 0 failed\n"), std::string::npos)
        << decrypted.err;
    for (std::size_t i = 0; i < kPlain.size(); ++i) {
        EXPECT_EQ(dir_.Read(kPlain[i].first), originals[i]) << kPlain[i].first;
    }
    EXPECT_EQ(AsString(dir_.Read("tree/sub/old")), "was encrypted");
    EXPECT_EQ(Names(dir_.Path("outside")), outside);
    EXPECT_EQ(AsString(dir_.Read("outside/o.txt")), "outside");

    // A second run finds every output there: all skipped, nothing failed.
    const Result again = Run({"decrypt", "-r", "tree"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.err.find("--force"), std::string::npos);
    EXPECT_NE(again.err.find("\n0 decrypted, 7 skipped, 0 failed\n"), std::string::npos)
        << again.err;
}

// Ctrl-C once the set runs: the file being worked on is left without an
// output, the one before it stays done, the one after it is not touched.
TEST(CliTreeStop, AnInterruptFinishesNothingHalfWayAndPrintsTheSummarySoFar) {
    TempDir dir;
    fs::create_directory(dir.Path("tree"));
    dir.Write("tree/1", AsBytes("first"));
    dir.Write("tree/2", ByteArray(100u << 20, 7));
    dir.Write("tree/3", AsBytes("third"));
    CliProcess cli(WithPassword(dir, {"encrypt", "-r", "tree"}));
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!dir.Exists("tree/1.enc") && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ::kill(cli.Pid(), SIGINT);
    const Result r = cli.Finish();
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("Stopped at \"tree/2\""), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1 encrypted, 0 skipped, 0 failed"), std::string::npos) << r.err;
    const std::set<std::string> left{"1", "1.enc", "2", "3"};
    EXPECT_EQ(Names(dir.Path("tree")), left);
}

}  // namespace
}  // namespace clitest
