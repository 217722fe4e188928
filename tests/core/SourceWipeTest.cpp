#include <gtest/gtest.h>

#include <filesystem>

#include "cipher/clsBlowfish.h"
#include "core/SourceWipe.h"
#include "tests/cipher/CipherTestSupport.h"

namespace {

using testsupport::ByteArray;
using testsupport::Bytes;

const std::u16string kPassword = u"pass word";

class SourceWipeTest : public ::testing::Test {
protected:
    // Encrypts content into a file of the given name; returns its path.
    std::u16string Encrypted(const std::string& name, const ByteArray& content,
                             const std::u16string& password = kPassword) {
        ByteArray bytes = content;
        clsBlowfish().EncryptByte(bytes, password);
        dir.Write(name, bytes);
        return dir.U16(name);
    }
    std::u16string Plain(const std::string& name) {
        dir.Write(name, plain);
        return dir.U16(name);
    }

    testsupport::TempDir dir;
    const ByteArray plain = Bytes("the only copy of my data\n");
};

TEST_F(SourceWipeTest, VerifiedWipeOverwritesTheSameFileThenDeletesIt) {
    const std::u16string source = Plain("data.txt");
    const std::u16string encrypted = Encrypted("data.txt.enc", plain);
    // A second name for the source's own content shows what the wipe wrote into it.
    std::filesystem::create_hard_link(dir.Path("data.txt"), dir.Path("peek"));

    const WipeResult result = WipeSource(source, encrypted, kPassword, nullptr);

    EXPECT_EQ(result.outcome, WipeOutcome::Wiped);
    EXPECT_FALSE(dir.Exists("data.txt"));
    EXPECT_EQ(dir.Read("peek"), dir.Read("data.txt.enc"));
}

TEST_F(SourceWipeTest, NoWipeWhenBothPathsNameOneFile) {
    const std::u16string source = Encrypted("data.txt", plain);
    std::filesystem::create_directory(dir.Path("sub"));
    std::filesystem::create_symlink(dir.Path("data.txt"), dir.Path("link.enc"));
    std::filesystem::create_hard_link(dir.Path("data.txt"), dir.Path("hard.enc"));

    for (const char* other :
         {"data.txt", "sub/../data.txt", "./data.txt", "link.enc", "hard.enc"}) {
        EXPECT_EQ(WipeSource(source, dir.U16(other), kPassword, nullptr).outcome,
                  WipeOutcome::SameFile)
            << other;
        EXPECT_TRUE(dir.Exists("data.txt"));
    }
    EXPECT_TRUE(MaybeSameFile(source, dir.U16("sub/../data.txt")));
    EXPECT_FALSE(MaybeSameFile(source, Encrypted("other.enc", plain)));
}

TEST_F(SourceWipeTest, NoWipeWhenTheEncryptedFileDoesNotGiveBackTheSource) {
    const std::u16string source = Plain("data.txt");
    const std::u16string stale = Encrypted("stale.enc", Bytes("an older file of that name"));
    const std::u16string otherKey = Encrypted("otherkey.enc", plain, u"another password");
    dir.Write("garbage.enc", ByteArray(32, 0x5a));

    for (const std::u16string& encrypted : {stale, otherKey, dir.U16("garbage.enc")}) {
        EXPECT_EQ(WipeSource(source, encrypted, kPassword, nullptr).outcome,
                  WipeOutcome::NotVerified);
    }
    const WipeResult missing = WipeSource(source, dir.U16("gone.enc"), kPassword, nullptr);
    EXPECT_NE(missing.outcome, WipeOutcome::Wiped);
    EXPECT_EQ(dir.Read("data.txt"), plain);
}

}  // namespace
