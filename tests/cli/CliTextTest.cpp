// encrypt-text and decrypt-text against the engine's string operations.

#include <gtest/gtest.h>

#include "cipher/CodePage.h"
#include "core/Utf8.h"
#include "tests/cli/CliTestSupport.h"

namespace clitest {
namespace {

using testsupport::TempDir;

class CliText : public ::testing::Test {
protected:
    Result Run(std::vector<std::string> args, const std::string& input = {},
               const std::string& password = kPassword) {
        return RunCli(WithPassword(dir_, std::move(args), password), input);
    }

    // The tool's output line, without the line feed it ends with.
    static std::u16string EngineDecryptText(const std::string& line,
                                            std::u16string key = u"correct horse") {
        clsBlowfish cipher;
        EXPECT_EQ(line.back(), '\n');
        std::u16string text(line.begin(), line.end() - 1);
        return cipher.DecryptString(text, key, true);
    }

    TempDir dir_;
};

TEST_F(CliText, EncryptedTextIsTheWindowsBase64) {
    // UTF-8 "café €" is the code page's text the window would encrypt.
    const Result r = Run({"encrypt-text"}, "caf\xc3\xa9 \xe2\x82\xac\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(EngineDecryptText(r.out), u"caf\u00e9 \u20ac");

    // Only one line ending goes; further ones belong to the text.
    const Result two = Run({"encrypt-text"}, "a\r\n\r\n");
    EXPECT_EQ(EngineDecryptText(two.out), u"a\r\n");
    const Result given = Run({"encrypt-text", "--text", "as given\n"});
    EXPECT_EQ(EngineDecryptText(given.out), u"as given\n");
}

TEST_F(CliText, WindowCiphertextDecryptsToUtf8) {
    clsBlowfish cipher;
    std::u16string plain = u"na\u00efve \u201cquotes\u201d", key = u"correct horse";
    const std::u16string base64 = cipher.EncryptString(plain, key, true);
    const std::string line(base64.begin(), base64.end());
    const Result piped = Run({"decrypt-text"}, line + "\r\n");
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, "na\xc3\xafve \xe2\x80\x9cquotes\xe2\x80\x9d\n");
    EXPECT_EQ(Run({"decrypt-text", "--text", line}).out, piped.out);
}

TEST_F(CliText, LongTextRoundTripsThroughLineBrokenBase64) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\n";
    const Result encrypted = Run({"encrypt-text", "--text", text});
    ASSERT_EQ(encrypted.status, 0);
    EXPECT_NE(encrypted.out.find("\r\n"), std::string::npos);
    const Result decrypted = Run({"decrypt-text"}, encrypted.out);
    EXPECT_EQ(decrypted.out, text) << "its own line ending stands in for the dropped one";

    // Texts of megabytes stream: the same ciphertext for the engine, with
    // characters of two and three bytes on every cut, one line ending
    // dropped and a character outside the code page still named.
    std::string big;
    while (big.size() < (3u << 20))
        big += "caf\xc3\xa9 \xe2\x82\xac " + std::to_string(big.size()) + "\r\n";
    const Result sealed = Run({"encrypt-text"}, big);
    ASSERT_EQ(sealed.status, 0) << sealed.err;
    clsBlowfish codec;
    bool valid = false;
    const ByteArray plain = EngineDecrypt(
        codec.DecodeArray64(std::u16string(sealed.out.begin(), sealed.out.end())), valid);
    ASSERT_TRUE(valid);
    EXPECT_EQ(cipher::codepage::BytesToText(plain),
              *core::DecodeUtf8(big.substr(0, big.size() - 2)));
    const Result opened = Run({"decrypt-text"}, sealed.out);
    EXPECT_EQ(opened.out, big.substr(0, big.size() - 2) + "\n");
    EXPECT_EQ(Run({"encrypt-text"}, big + "\xe2\x98\x83").status, 1);
    EXPECT_EQ(Run({"decrypt-text"}, sealed.out.substr(0, sealed.out.size() - 40)).status, 4);
}

TEST_F(CliText, FailuresAreReportedWithTheirStatus) {
    const Result foreign = Run({"encrypt-text"}, "snowman \xe2\x98\x83");
    EXPECT_EQ(foreign.status, 1);
    EXPECT_NE(foreign.err.find("\"\xe2\x98\x83\""), std::string::npos) << foreign.err;
    EXPECT_EQ(foreign.out, "");

    const std::string ciphertext = Run({"encrypt-text", "--text", "x"}).out;
    const Result wrong = Run({"decrypt-text"}, ciphertext, "other");
    EXPECT_EQ(wrong.status, 4);
    EXPECT_EQ(wrong.out, "");
    EXPECT_NE(wrong.err.find("Wrong password"), std::string::npos);
    EXPECT_EQ(Run({"decrypt-text", "--text", "=="}).status, 4);
    EXPECT_EQ(Run({"encrypt-text"}, "\xc3").status, 1) << "not UTF-8";
}

}  // namespace
}  // namespace clitest
