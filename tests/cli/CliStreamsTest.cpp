// Standard input and output as the file of the encrypt and decrypt commands.

#include <gtest/gtest.h>

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

TEST_F(CliStreams, NothingIsWrittenBeforeTheContainerIsChecked) {
    ByteArray container = EngineEncrypt(RandomBytes(100000, 1));
    container.resize(container.size() - 8);  // the size descriptor no longer fits
    const Result cut = RunCli(WithPassword(dir_, {"decrypt", "-"}), AsString(container));
    EXPECT_EQ(cut.status, 4);
    EXPECT_EQ(cut.out, "");
    container.resize(container.size() - 3);  // no longer whole blocks: the length tells
    const Result odd = RunCli(WithPassword(dir_, {"decrypt", "-"}), AsString(container));
    EXPECT_EQ(odd.status, 4);
    EXPECT_NE(odd.err.find("Standard input is not an encrypted file."), std::string::npos)
        << odd.err;

    const Result wrong = RunCli(WithPassword(dir_, {"decrypt", "-", "-o", "plain"}, "wrong"),
                                AsString(EngineEncrypt(AsBytes("abc"))));
    EXPECT_EQ(wrong.status, 4);
    EXPECT_FALSE(dir_.Exists("plain"));
    EXPECT_NE(wrong.err.find("standard input"), std::string::npos) << wrong.err;
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
