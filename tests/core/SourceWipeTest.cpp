#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
    // A stream kept open on the source shows what the wipe wrote into it.
    std::ifstream peek(dir.Path("data.txt"), std::ios::binary);
    ASSERT_TRUE(peek.is_open());

    const core::WipeResult result = core::WipeSource(source, encrypted, kPassword, nullptr);

    EXPECT_EQ(result.outcome, core::WipeOutcome::Wiped);
    EXPECT_FALSE(dir.Exists("data.txt"));
    ByteArray content(64);
    peek.seekg(0);
    peek.read(reinterpret_cast<char*>(content.data()),
              static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<std::size_t>(peek.gcount()));
    // The original's own length is overwritten, not the container's: on a
    // full disk a longer write would fail at its last block.
    const ByteArray container = dir.Read("data.txt.enc");
    EXPECT_EQ(content, ByteArray(container.begin(), container.begin() + plain.size()));
}

// The encrypted file reached through a symbolic link: its real name is the
// one that must survive a crash.
TEST_F(SourceWipeTest, EncryptedFileBehindALinkStillAllowsTheWipe) {
    const std::u16string source = Plain("data.txt");
    Encrypted("data.txt.enc", plain);
    std::filesystem::create_symlink("data.txt.enc", dir.Path("link.enc"));

    EXPECT_EQ(core::WipeSource(source, dir.U16("link.enc"), kPassword, nullptr).outcome,
              core::WipeOutcome::Wiped);
    EXPECT_FALSE(dir.Exists("data.txt"));
}

TEST_F(SourceWipeTest, NoWipeOfAFileWithOtherNames) {
    // Another name would keep the encrypted data under a name of the original.
    const std::u16string source = Plain("data.txt");
    const std::u16string encrypted = Encrypted("data.txt.enc", plain);
    std::filesystem::create_hard_link(dir.Path("data.txt"), dir.Path("other name"));

    EXPECT_EQ(core::WipeSource(source, encrypted, kPassword, nullptr).outcome,
              core::WipeOutcome::OtherNames);
    EXPECT_EQ(dir.Read("data.txt"), plain);
    EXPECT_EQ(dir.Read("other name"), plain);
}

TEST_F(SourceWipeTest, NoWipeWhenBothPathsNameOneFile) {
    const std::u16string source = Encrypted("data.txt", plain);
    std::filesystem::create_directory(dir.Path("sub"));
    std::filesystem::create_symlink(dir.Path("data.txt"), dir.Path("link.enc"));
    std::filesystem::create_hard_link(dir.Path("data.txt"), dir.Path("hard.enc"));

    for (const char* other :
         {"data.txt", "sub/../data.txt", "./data.txt", "link.enc", "hard.enc"}) {
        EXPECT_EQ(core::WipeSource(source, dir.U16(other), kPassword, nullptr).outcome,
                  core::WipeOutcome::SameFile)
            << other;
        EXPECT_TRUE(dir.Exists("data.txt"));
    }
    EXPECT_TRUE(core::MaybeSameFile(source, dir.U16("sub/../data.txt")));
    EXPECT_FALSE(core::MaybeSameFile(source, Encrypted("other.enc", plain)));
}

TEST_F(SourceWipeTest, NoWipeWhenTheEncryptedFileDoesNotGiveBackTheSource) {
    const std::u16string source = Plain("data.txt");
    const std::u16string stale = Encrypted("stale.enc", Bytes("an older file of that name"));
    const std::u16string otherKey = Encrypted("otherkey.enc", plain, u"another password");
    dir.Write("garbage.enc", ByteArray(32, 0x5a));

    for (const std::u16string& encrypted : {stale, otherKey, dir.U16("garbage.enc")}) {
        EXPECT_EQ(core::WipeSource(source, encrypted, kPassword, nullptr).outcome,
                  core::WipeOutcome::NotVerified);
    }
    const core::WipeResult missing =
        core::WipeSource(source, dir.U16("gone.enc"), kPassword, nullptr);
    EXPECT_NE(missing.outcome, core::WipeOutcome::Wiped);
    EXPECT_EQ(dir.Read("data.txt"), plain);
}

// A source that is a symbolic link is declined: neither the link nor the
// file it points to changes.
TEST_F(SourceWipeTest, SymbolicLinkSourceIsLeftAlone) {
    Plain("data.txt");
    std::filesystem::create_symlink("data.txt", dir.Path("link.txt"));
    const std::u16string encrypted = Encrypted("data.txt.enc", plain);

    const core::WipeResult result =
        core::WipeSource(dir.U16("link.txt"), encrypted, kPassword, nullptr);

    EXPECT_EQ(result.outcome, core::WipeOutcome::SymbolicLink);
    EXPECT_TRUE(core::WipeMissed(result));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link.txt")));
    EXPECT_EQ(dir.Read("data.txt"), plain);
}

// Someone swaps the source's name for a link to another file while the
// encrypted file is being checked: the other file is never written, and
// the checked file is not overwritten under a name it no longer has.
TEST_F(SourceWipeTest, SourceSwappedDuringTheCheckIsNeverOverwritten) {
    const std::u16string source = Plain("data.txt");
    const std::u16string encrypted = Encrypted("data.txt.enc", plain);
    const ByteArray victim = Bytes("somebody else's file");
    dir.Write("victim", victim);
    testsupport::RecordingSink sink;
    bool swapped = false;
    sink.adjust = [&](std::int32_t&) {
        if (swapped) return;
        swapped = true;
        std::filesystem::rename(dir.Path("data.txt"), dir.Path("moved"));
        std::filesystem::create_symlink(dir.Path("victim"), dir.Path("data.txt"));
    };

    const core::WipeResult result = core::WipeSource(source, encrypted, kPassword, &sink);

    ASSERT_TRUE(swapped);
    EXPECT_TRUE(core::WipeMissed(result));
    EXPECT_EQ(dir.Read("victim"), victim);
    EXPECT_EQ(dir.Read("moved"), plain);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("data.txt")));
}

// The check compares every byte, chunk after chunk: a difference in the
// very last byte of a file several chunks long stops the wipe.
TEST_F(SourceWipeTest, DifferenceInTheLastByteOfALargeFileStopsTheWipe) {
    ByteArray large = testsupport::RandomBytes((600 << 10) + 5, 9);
    const std::u16string encrypted = Encrypted("large.enc", large);
    large.back() ^= 1;
    dir.Write("large", large);

    EXPECT_EQ(core::WipeSource(dir.U16("large"), encrypted, kPassword, nullptr).outcome,
              core::WipeOutcome::NotVerified);
    EXPECT_EQ(dir.Read("large"), large);

    large.back() ^= 1;
    dir.Write("large", large);
    EXPECT_EQ(core::WipeSource(dir.U16("large"), encrypted, kPassword, nullptr).outcome,
              core::WipeOutcome::Wiped);
    EXPECT_FALSE(dir.Exists("large"));
    EXPECT_EQ(dir.Entries(), (std::set<std::string>{"large.enc"}));
}

}  // namespace
