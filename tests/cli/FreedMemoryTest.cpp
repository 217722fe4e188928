// No copy of a password or of plain text is left in freed memory: every
// buffer that held one is wiped before it is freed or outgrown.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"
#include "cli/CliFrontEnd.h"
#include "cli/TextJob.h"
#include "core/CommandLine.h"
#include "core/Utf8.h"
#include "tests/cli/FreedMemoryWatch.h"

namespace {

// Long enough to live outside any string object, found nowhere else, and
// the same in lower case.
constexpr char kSecret[] = "qz7-secret-that-must-not-linger-8kw";
const std::u16string kSecretText(std::begin(kSecret), std::end(kSecret) - 1);

// Standard input reads `input` and standard output goes nowhere while it exists.
class RedirectedStreams {
public:
    explicit RedirectedStreams(const std::string& input) {
        int ends[2];
        EXPECT_EQ(::pipe(ends), 0);
        EXPECT_EQ(::write(ends[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
        ::close(ends[1]);
        ::dup2(ends[0], 0);
        ::close(ends[0]);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::close(null);
    }
    ~RedirectedStreams() {
        ::dup2(in_, 0);
        ::dup2(out_, 1);
        ::close(in_);
        ::close(out_);
    }

private:
    int in_ = ::dup(0);
    int out_ = ::dup(1);
};

TEST(FreedMemory, HoldsNoUnwipedSecret) {
    // Made outside the watch: the test's own copies are not the program's.
    const std::u16string argumentText = u"/encrypt /string /" + kSecretText + u" /text";
    const std::string input = std::string(kSecret) + "\n";
    const std::string badUtf8 = std::string(kSecret) + "\xff";
    const std::u16string badText = kSecretText + u"\u2603";
    const struct {
        const char* what;
        std::function<void()> run;
    } cases[] = {
        {"encrypting a string",
         [] {
             clsBlowfish cipher;
             std::u16string text = kSecretText, key = u"key";  // wiped by the call
             (void)cipher.EncryptString(text, key, true);
         }},
        {"a byte array encrypted in place",
         [] {
             clsBlowfish::ByteArray bytes(std::begin(kSecret), std::end(kSecret) - 1);
             clsBlowfish().EncryptByte(bytes, u"key");
         }},
        {"encrypt-text from standard input",
         [&] {
             const RedirectedStreams streams(input);
             cli::CliFrontEnd frontEnd({}, false);
             cli::Run(cli::TextJob{}, frontEnd, u"key");
         }},
        {"a refused UTF-8 decoding", [&] { (void)core::DecodeUtf8(badUtf8); }},
        {"a refused code page conversion",
         [&] { EXPECT_ANY_THROW((void)cipher::codepage::TextToBytes(badText)); }},
        {"a password on the command line",
         [&] {
             core::commandline::Command command = core::commandline::Parse(argumentText);
             cipher::Wipe(command.password);
         }},
    };
    for (const auto& c : cases) {
        std::size_t unwiped = 0;
        {
            const FreedMemoryWatch watch(kSecret);
            c.run();
            unwiped = FreedMemoryWatch::Unwiped();
        }
        EXPECT_EQ(unwiped, 0u) << c.what;
    }
}

}  // namespace
