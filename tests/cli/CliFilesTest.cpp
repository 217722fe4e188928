// The encrypt and decrypt commands on files.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/cli/CliTestSupport.h"

namespace clitest {
namespace {

namespace fs = std::filesystem;
using testsupport::RandomBytes;
using testsupport::TempDir;

class CliFiles : public ::testing::Test {
protected:
    ByteArray Decrypted(const std::string& name, bool& valid) const {
        return EngineDecrypt(dir_.Read(name), valid);
    }

    TempDir dir_;
};

TEST_F(CliFiles, EncryptionIsReadByTheEngineAndEngineContainersAreDecrypted) {
    for (std::size_t size : {0u, 1u, 11u, 12u, 4096u, 100000u}) {
        SCOPED_TRACE(size);
        const ByteArray plain = RandomBytes(size, static_cast<std::uint32_t>(size));
        dir_.Write("plain.bin", plain);
        const Result made = RunCli(WithPassword(dir_, {"encrypt", "plain.bin", "--force"}));
        ASSERT_EQ(made.status, 0) << made.err;
        bool valid = false;
        EXPECT_EQ(Decrypted("plain.bin.enc", valid), plain);
        EXPECT_TRUE(valid);

        dir_.Write("engine.bin.enc", EngineEncrypt(plain));
        const Result back = RunCli(WithPassword(dir_, {"decrypt", "engine.bin.enc", "--force"}));
        ASSERT_EQ(back.status, 0) << back.err;
        EXPECT_EQ(dir_.Read("engine.bin"), plain);
        EXPECT_EQ(back.out, "");
    }
}

TEST_F(CliFiles, ArmorWritesAndReadsTheEngineBase64Form) {
    const ByteArray plain = RandomBytes(300, 7);
    dir_.Write("a", plain);
    ASSERT_EQ(RunCli(WithPassword(dir_, {"encrypt", "-a", "a", "-o", "a.txt"})).status, 0);
    const std::string text = AsString(dir_.Read("a.txt"));
    EXPECT_NE(text.find("\r\n"), std::string::npos) << "lines of 76 characters";
    EXPECT_EQ(text.find_first_not_of(
                  "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=\r\n"),
              std::string::npos);

    dir_.Write("b.enc", AsBytes(EngineBase64(EngineEncrypt(plain))));
    ASSERT_EQ(RunCli(WithPassword(dir_, {"decrypt", "--armor", "b.enc"})).status, 0);
    EXPECT_EQ(dir_.Read("b"), plain);
    ASSERT_EQ(RunCli(WithPassword(dir_, {"decrypt", "--armor", "a.txt", "-o", "c"})).status, 0);
    EXPECT_EQ(dir_.Read("c"), plain);
}

TEST_F(CliFiles, AnExistingOutputIsKeptUnlessForced) {
    dir_.Write("doc", AsBytes("new"));
    dir_.Write("doc.enc", AsBytes("older"));
    const Result refused = RunCli(WithPassword(dir_, {"encrypt", "doc"}));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("doc.enc"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--force"), std::string::npos);
    EXPECT_EQ(AsString(dir_.Read("doc.enc")), "older");

    ASSERT_EQ(RunCli(WithPassword(dir_, {"encrypt", "doc", "--force"})).status, 0);
    bool valid = false;
    EXPECT_EQ(AsString(Decrypted("doc.enc", valid)), "new");
    EXPECT_EQ(dir_.Entries(), (std::set<std::string>{"doc", "doc.enc"}));
}

TEST_F(CliFiles, WrongPasswordAndForeignDataGiveStatusFourAndWriteNothing) {
    dir_.Write("x.enc", EngineEncrypt(AsBytes("secret data")));
    dir_.Write("junk.enc", RandomBytes(64, 3));
    dir_.Write("odd.enc", RandomBytes(13, 3));
    for (const char* name : {"x.enc", "junk.enc", "odd.enc"}) {
        SCOPED_TRACE(name);
        const Result r = RunCli(WithPassword(dir_, {"decrypt", name}, "not it"));
        EXPECT_EQ(r.status, 4);
        EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
    }
    const Result armored = RunCli(WithPassword(dir_, {"decrypt", "-a", "x.enc", "-o", "y"}));
    EXPECT_EQ(armored.status, 4) << "raw bytes read as Base64 are no container";
    EXPECT_EQ(dir_.Entries(), (std::set<std::string>{"x.enc", "junk.enc", "odd.enc"}));
}

TEST_F(CliFiles, SeveralFilesGoOnAfterAFailureAndReportTheWorstStatus) {
    dir_.Write("one", AsBytes("1"));
    dir_.Write("three", AsBytes("3"));
    const Result r = RunCli(WithPassword(dir_, {"encrypt", "one", "two", "three"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(dir_.Exists("one.enc"));
    EXPECT_TRUE(dir_.Exists("three.enc"));
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("two"), std::string::npos);

    // A wrong password outranks success, a failure outranks a wrong password.
    dir_.Write("bad.enc", EngineEncrypt(AsBytes("b"), "other"));
    EXPECT_EQ(RunCli(WithPassword(dir_, {"decrypt", "one.enc", "bad.enc", "--force"})).status, 4);
    EXPECT_EQ(
        RunCli(WithPassword(dir_, {"decrypt", "bad.enc", "nothing.enc", "one.enc", "-f"})).status,
        1);
    EXPECT_EQ(AsString(dir_.Read("one")), "1");
}

// Several files at once: the lines on standard error, the outputs and the
// status are those of the files worked on one after another.
TEST_F(CliFiles, BatchesOnSeveralThreadsReportInArgumentOrder) {
    const ByteArray big = RandomBytes(3 << 20, 7);
    dir_.Write("a.enc", EngineEncrypt(big));
    dir_.Write("b.enc", EngineEncrypt(AsBytes("b"), "other"));
    dir_.Write("c.enc", EngineEncrypt(AsBytes("c")));
    dir_.Write("d.enc", ByteArray(24, 1));
    std::string first;
    for (const char* threads : {"1", "2", "7"}) {
        SCOPED_TRACE(threads);
        const Result r = RunCli(WithPassword(
            dir_, {"decrypt", "-f", "--threads", threads, "a.enc", "b.enc", "c.enc", "d.enc"}));
        EXPECT_EQ(r.status, 4);
        EXPECT_EQ(dir_.Read("a"), big);
        EXPECT_EQ(AsString(dir_.Read("c")), "c");
        EXPECT_FALSE(dir_.Exists("b") || dir_.Exists("d"));
        EXPECT_LT(r.err.find("b.enc"), r.err.find("d.enc")) << r.err;
        if (first.empty()) first = r.err;
        EXPECT_EQ(r.err, first);
    }
}

TEST_F(CliFiles, OutputNamesFollowTheDirection) {
    dir_.Write("notes.ENC", EngineEncrypt(AsBytes("n")));
    ASSERT_EQ(RunCli(WithPassword(dir_, {"decrypt", "notes.ENC"})).status, 0);
    EXPECT_EQ(AsString(dir_.Read("notes")), "n");

    // Encrypting an .enc file adds a suffix instead of taking one away.
    ASSERT_EQ(RunCli(WithPassword(dir_, {"encrypt", "notes.ENC"})).status, 0);
    EXPECT_TRUE(dir_.Exists("notes.ENC.enc"));

    // A decrypted file is never written under a name promising encryption.
    dir_.Write("plain.txt", EngineEncrypt(AsBytes("p")));
    const Result r = RunCli(WithPassword(dir_, {"decrypt", "plain.txt"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("-o"), std::string::npos) << r.err;
    EXPECT_FALSE(dir_.Exists("plain.txt.enc"));
}

TEST_F(CliFiles, AFileIsNeverItsOwnOutput) {
    dir_.Write("f", AsBytes("content"));
    fs::create_symlink("f", dir_.Path("link"));
    for (const char* output : {"f", "link", "./f"}) {
        SCOPED_TRACE(output);
        const Result r = RunCli(WithPassword(dir_, {"encrypt", "f", "-o", output, "-f", "-w"}));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(AsString(dir_.Read("f")), "content");
    }
    fs::create_directory(dir_.Path("folder"));
    const Result folder = RunCli(WithPassword(dir_, {"encrypt", "folder"}));
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("is a folder"), std::string::npos) << folder.err;
}

TEST_F(CliFiles, WipeRemovesEachOriginalOnlyAfterItsEncryptionChecksOut) {
    const ByteArray plain = RandomBytes(5000, 11);
    dir_.Write("a", plain);
    dir_.Write("b", plain);
    const Result r = RunCli(WithPassword(dir_, {"encrypt", "--wipe", "a", "b", "missing"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(dir_.Entries(), (std::set<std::string>{"a.enc", "b.enc"}));
    bool valid = false;
    EXPECT_EQ(Decrypted("b.enc", valid), plain);
}

TEST_F(CliFiles, AnOriginalThatCannotBeWipedGivesStatusThree) {
    // The original sits in a folder the program may read but not change.
    const fs::path locked = dir_.Path("locked"), open = dir_.Path("open");
    fs::create_directory(locked);
    fs::create_directory(open);
    dir_.Write("locked/a", AsBytes("keep me"));
    fs::permissions(dir_.Path(), fs::perms(0755));
    fs::permissions(open, fs::perms(0777));
    fs::permissions(locked / "a", fs::perms(0444));
    fs::permissions(locked, fs::perms(0555));
    Launch launch = WithPassword(dir_, {"encrypt", "-w", "locked/a", "-o", "open/a.enc"});
    launch.unprivileged = true;
    const Result r = RunCli(launch);
    fs::permissions(locked, fs::perms(0755));
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("not wiped"), std::string::npos) << r.err;
    EXPECT_EQ(AsString(dir_.Read("locked/a")), "keep me");
    bool valid = false;
    EXPECT_EQ(AsString(Decrypted("open/a.enc", valid)), "keep me");
}

}  // namespace
}  // namespace clitest
