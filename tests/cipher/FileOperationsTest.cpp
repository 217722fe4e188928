#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <utility>

#include "cipher/CodePage.h"
#include "cipher/clsBlowfish.h"
#include "core/Messages.h"
#include "fileio/FileStore.h"
#include "tests/cipher/CipherTestSupport.h"
#include "tests/cipher/TestAccess.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ByteArray;
using testsupport::RandomBytes;

class FileOperationsTest : public testing::Test {
protected:
    // The in/out arguments of one call.
    struct Args {
        std::u16string in, out, key;
    };

    Args Make(const std::string& in, const std::string& out, const std::u16string& key) const {
        return {dir.U16(in), dir.U16(out), key};
    }

    bool Encrypt(Args& a, bool overwrite, bool base64 = false) {
        return cipher.EncryptFile(a.in, a.out, overwrite, a.key, base64);
    }
    bool Decrypt(Args& a, bool overwrite, bool base64 = false) {
        return cipher.DecryptFile(a.in, a.out, overwrite, a.key, base64);
    }

    static void ExpectEmptied(const Args& a) {
        EXPECT_TRUE(a.in.empty());
        EXPECT_TRUE(a.out.empty());
        EXPECT_TRUE(a.key.empty());
    }
    static void ExpectKept(const Args& a, const Args& before) {
        EXPECT_EQ(a.in, before.in);
        EXPECT_EQ(a.out, before.out);
        EXPECT_EQ(a.key, before.key);
    }
    cipher::FileFailure Failure() const { return cipher.LastError().failure; }
    std::set<std::string> Entries(std::initializer_list<std::string> names) const { return names; }

    testsupport::TempDir dir;
    clsBlowfish cipher;
};

TEST_F(FileOperationsTest, RawFilesRoundTrip) {
    for (std::size_t size :
         {std::size_t{0}, std::size_t{1}, std::size_t{100}, std::size_t{300001}}) {
        SCOPED_TRACE(size);
        const ByteArray source = RandomBytes(size, static_cast<std::uint32_t>(size));
        dir.Write("plain.bin", source);

        Args enc = Make("plain.bin", "plain.enc", u"file key");
        ASSERT_TRUE(Encrypt(enc, true));
        ExpectEmptied(enc);
        EXPECT_EQ(Failure(), cipher::FileFailure::None);
        ByteArray container = dir.Read("plain.enc");
        EXPECT_EQ(container.size(), (size + 12 + 7) / 8 * 8);

        Args dec = Make("plain.enc", "plain.out", u"file key");
        ASSERT_TRUE(Decrypt(dec, true));
        ExpectEmptied(dec);
        EXPECT_EQ(dir.Read("plain.out"), source);

        // The file holds the container and nothing else.
        ASSERT_TRUE(clsBlowfish().DecryptByte(container, u"file key"));
        EXPECT_EQ(container, source);
        EXPECT_EQ(dir.Entries(), Entries({"plain.bin", "plain.enc", "plain.out"}));
    }
}

TEST_F(FileOperationsTest, Base64FilesRoundTrip) {
    const ByteArray source = RandomBytes(1000, 12);
    dir.Write("a.bin", source);
    Args enc = Make("a.bin", "a.b64", u"k");
    ASSERT_TRUE(Encrypt(enc, false, true));

    const ByteArray written = dir.Read("a.b64");
    const std::u16string text = cipher::codepage::BytesToText(written);
    EXPECT_EQ(text, cipher.EncodeArray64(cipher.DecodeArray64(text)));
    EXPECT_EQ(text.substr(76, 2), u"\r\n");
    ByteArray container = cipher.DecodeArray64(text);
    EXPECT_EQ(container.size(), 1016u);
    ASSERT_TRUE(clsBlowfish().DecryptByte(container, u"k"));
    EXPECT_EQ(container, source);

    Args dec = Make("a.b64", "a.out", u"k");
    ASSERT_TRUE(Decrypt(dec, false, true));
    EXPECT_EQ(dir.Read("a.out"), source);
}

TEST_F(FileOperationsTest, ExistingDestinationNeedsOverwrite) {
    dir.Write("src", RandomBytes(10, 1));
    dir.Write("dst", {'o', 'l', 'd'});
    Args args = Make("src", "dst", u"k");
    const Args before = args;
    EXPECT_FALSE(Encrypt(args, false));
    EXPECT_EQ(Failure(), cipher::FileFailure::DestinationExists);
    ExpectKept(args, before);
    EXPECT_EQ(dir.Read("dst"), (ByteArray{'o', 'l', 'd'}));

    EXPECT_FALSE(Decrypt(args, false));
    EXPECT_EQ(Failure(), cipher::FileFailure::DestinationExists);
    ExpectKept(args, before);

    EXPECT_TRUE(Encrypt(args, true));
    EXPECT_EQ(dir.Read("dst").size(), 24u);
    EXPECT_EQ(dir.Entries(), Entries({"src", "dst"}));
}

// A destination that appears while the operation runs (another program, or
// another user in a shared folder) is not replaced without Overwrite.
TEST_F(FileOperationsTest, DestinationThatAppearsMeanwhileIsKeptWithoutOverwrite) {
    struct Intruder : testsupport::RecordingSink {
        std::function<void()> act;
        void PumpEvents() override {
            if (act) std::exchange(act, nullptr)();
        }
    } intruder;
    cipher.SetProgressSink(&intruder);
    dir.Write("src", RandomBytes(300000, 2));
    for (const bool overwrite : {false, true}) {
        SCOPED_TRACE(overwrite);
        fs::remove(dir.Path("dst"));
        intruder.act = [&] { dir.Write("dst", {'n', 'e', 'w'}); };
        Args args = Make("src", "dst", u"k");
        EXPECT_EQ(Encrypt(args, overwrite), overwrite);
        EXPECT_EQ(dir.Read("dst").size() == 3, !overwrite);
        if (!overwrite) {
            EXPECT_EQ(Failure(), cipher::FileFailure::DestinationExists);
        }
        EXPECT_EQ(dir.Entries(), Entries({"src", "dst"}));
    }
}

TEST_F(FileOperationsTest, MissingSourceIsDeclinedAndKeepsTheArguments) {
    fs::create_directory(dir.Path("folder"));
    for (const char* source : {"missing", "folder"}) {
        SCOPED_TRACE(source);
        const cipher::FileFailure why = std::string(source) == "folder"
                                            ? cipher::FileFailure::SourceIsFolder
                                            : cipher::FileFailure::SourceMissing;
        Args args = Make(source, "dst", u"k");
        const Args before = args;
        EXPECT_FALSE(Encrypt(args, true));
        EXPECT_EQ(Failure(), why);
        ExpectKept(args, before);
        EXPECT_FALSE(Decrypt(args, true));
        EXPECT_EQ(Failure(), why);
        ExpectKept(args, before);
        EXPECT_FALSE(dir.Exists("dst"));
    }
}

TEST_F(FileOperationsTest, SourceAndDestinationMayBeTheSameFile) {
    const ByteArray source = RandomBytes(777, 2);
    dir.Write("same", source);
    Args enc = Make("same", "same", u"k");
    ASSERT_TRUE(Encrypt(enc, true));
    EXPECT_EQ(dir.Read("same").size(), 792u);
    Args dec = Make("same", "same", u"k");
    ASSERT_TRUE(Decrypt(dec, true));
    EXPECT_EQ(dir.Read("same"), source);
    EXPECT_EQ(dir.Entries(), Entries({"same"}));
}

TEST_F(FileOperationsTest, UndecryptableSourceLeavesTheDestinationAlone) {
    dir.Write("src", RandomBytes(50, 3));
    Args enc = Make("src", "enc", u"right");
    ASSERT_TRUE(Encrypt(enc, true));
    dir.Write("empty", {});
    dir.Write("bad64", {'=', '=', '\r', '\n'});
    dir.Write("dst", {'k', 'e', 'e', 'p'});

    struct Case {
        const char* source;
        std::u16string key;
        bool base64;
        cipher::FileFailure failure;
    };
    for (const Case& c : {Case{"enc", u"wrong", false, cipher::FileFailure::WrongPassword},
                          Case{"empty", u"right", false, cipher::FileFailure::NotEncryptedFile},
                          Case{"bad64", u"right", true, cipher::FileFailure::InvalidBase64},
                          Case{"enc", u"\u2603", false, cipher::FileFailure::UnrepresentableKey}}) {
        SCOPED_TRACE(c.source);
        for (const char* destination : {"dst", "new"}) {
            Args args = Make(c.source, destination, c.key);
            EXPECT_FALSE(Decrypt(args, true, c.base64));
            EXPECT_EQ(Failure(), c.failure);
            ExpectEmptied(args);
        }
        EXPECT_EQ(dir.Read("dst"), (ByteArray{'k', 'e', 'e', 'p'}));
        EXPECT_EQ(dir.Entries(), Entries({"src", "enc", "empty", "bad64", "dst"}));
    }
}

TEST_F(FileOperationsTest, UnwritableDestinationIsReportedWithItsPath) {
    dir.Write("src", RandomBytes(30, 4));
    const std::u16string target = dir.U16("no-such-folder/out.enc");
    Args args = Make("src", "no-such-folder/out.enc", u"k");
    EXPECT_FALSE(Encrypt(args, true));
    const cipher::FileError& error = cipher.LastError();
    EXPECT_EQ(error.failure, cipher::FileFailure::DestinationUnwritable);
    EXPECT_TRUE(error.Failed());
    EXPECT_EQ(error.path, target);
    EXPECT_TRUE(error.code) << "the system's reason is kept";
    EXPECT_NE(core::messages::ForFile(error).find("out.enc"), std::string::npos)
        << core::messages::ForFile(error);
    EXPECT_EQ(dir.Entries(), Entries({"src"}));

    // The next successful operation clears the error.
    Args ok = Make("src", "ok.enc", u"k");
    EXPECT_TRUE(Encrypt(ok, true));
    EXPECT_EQ(Failure(), cipher::FileFailure::None);
    EXPECT_FALSE(cipher.LastError().Failed());
}

TEST_F(FileOperationsTest, UnrepresentableKeyWritesNothing) {
    dir.Write("src", RandomBytes(30, 5));
    dir.Write("dst", {'o', 'l', 'd'});
    Args args = Make("src", "dst", u"\u2603");
    EXPECT_FALSE(Encrypt(args, true));
    EXPECT_EQ(Failure(), cipher::FileFailure::UnrepresentableKey);
    EXPECT_EQ(dir.Read("dst"), (ByteArray{'o', 'l', 'd'}));
    EXPECT_EQ(dir.Entries(), Entries({"src", "dst"}));
}

TEST_F(FileOperationsTest, SourceTooLargeForAContainerIsRefusedBeforeReading) {
    // A sparse file one byte longer than the largest data a container holds
    // (2^31 - 8 bytes of container, 12 of them overhead).
    const std::uintmax_t tooLarge = (std::uintmax_t{1} << 31) - 8 - 12 + 1;
    { std::ofstream create(dir.Path("huge"), std::ios::binary); }
    fs::resize_file(dir.Path("huge"), tooLarge);
    Args args = Make("huge", "dst", u"k");
    EXPECT_FALSE(Encrypt(args, true));
    EXPECT_EQ(Failure(), cipher::FileFailure::SourceTooLarge);
    EXPECT_NE(core::messages::ForFile(cipher.LastError()).find("too large to encrypt"),
              std::string::npos);
    EXPECT_FALSE(dir.Exists("dst"));

    // One byte beyond the longest container: the message speaks of
    // decrypting, not encrypting.
    fs::resize_file(dir.Path("huge"), std::uintmax_t{1} << 31);
    args = Make("huge", "dst", u"k");
    EXPECT_FALSE(Decrypt(args, true));
    EXPECT_EQ(Failure(), cipher::FileFailure::SourceTooLarge);
    const std::string message = core::messages::ForFile(cipher.LastError());
    EXPECT_EQ(message.find("encrypt "), std::string::npos) << message;
    EXPECT_NE(message.find("too large to be an encrypted file"), std::string::npos) << message;
    EXPECT_FALSE(dir.Exists("dst"));
}

TEST_F(FileOperationsTest, EncryptFileStartsFromTheInitialTables) {
    const ByteArray source = RandomBytes(64, 6);
    dir.Write("src", source);
    const auto initial = clsBlowfishTestAccess::Tables(clsBlowfish());

    cipher.Key(u"earlier");
    Args enc = Make("src", "enc", u"");
    ASSERT_TRUE(Encrypt(enc, true));
    EXPECT_EQ(clsBlowfishTestAccess::Tables(cipher), initial);

    ByteArray container = dir.Read("enc");
    ASSERT_TRUE(clsBlowfish().DecryptByte(container));
    EXPECT_EQ(container, source);
}

TEST_F(FileOperationsTest, DecryptFileKeepsTheKeyInForce) {
    const ByteArray source = RandomBytes(64, 7);
    dir.Write("src", source);
    Args enc = Make("src", "enc", u"kept");
    ASSERT_TRUE(Encrypt(enc, true));

    clsBlowfish other;
    other.Key(u"kept");
    std::u16string in = dir.U16("enc"), out = dir.U16("out"), key;
    ASSERT_TRUE(other.DecryptFile(in, out, false, key))
        << core::messages::ForFile(other.LastError());
    EXPECT_EQ(dir.Read("out"), source);
}

TEST_F(FileOperationsTest, PathsAreNotLimitedToTheCodePage) {
    // Path names use the file system's encoding; a character outside
    // Windows-1252 is fine there.
    const std::string name = "\xE4\xB8\x96 \xE2\x98\x83.bin";  // U+4E16 U+2603 in UTF-8
    const ByteArray source = RandomBytes(20, 8);
    dir.Write(name, source);
    EXPECT_TRUE(clsBlowfishTestAccess::IsExistingFile(cipher, dir.U16(name)));
    Args enc = Make(name, name + ".enc", u"k");
    ASSERT_TRUE(Encrypt(enc, false));
    Args dec = Make(name + ".enc", "back", u"k");
    ASSERT_TRUE(Decrypt(dec, false));
    EXPECT_EQ(dir.Read("back"), source);
}

TEST_F(FileOperationsTest, OnlyRegularFilesExist) {
    dir.Write("empty", {});
    dir.Write("full", {1, 2, 3});
    fs::create_directory(dir.Path("folder"));
    EXPECT_TRUE(clsBlowfishTestAccess::IsExistingFile(cipher, dir.U16("empty")));
    EXPECT_TRUE(clsBlowfishTestAccess::IsExistingFile(cipher, dir.U16("full")));
    EXPECT_FALSE(clsBlowfishTestAccess::IsExistingFile(cipher, dir.U16("folder")));
    EXPECT_FALSE(clsBlowfishTestAccess::IsExistingFile(cipher, dir.U16("missing")));
    EXPECT_FALSE(clsBlowfishTestAccess::IsExistingFile(cipher, dir.U16("full/inside")));
    EXPECT_FALSE(clsBlowfishTestAccess::IsExistingFile(cipher, u""));
}

}  // namespace

TEST_F(FileOperationsTest, ReplacedFilesKeepLinksAndPermissions) {
    const ByteArray source = RandomBytes(1000, 5);
    dir.Write("plain.bin", source);
    dir.Write("target.enc", RandomBytes(10, 6));
    fs::permissions(dir.Path("target.enc"), fs::perms(0640));
    fs::create_symlink("target.enc", dir.Path("link.enc"));

    Args enc = Make("plain.bin", "link.enc", u"k");
    ASSERT_TRUE(Encrypt(enc, true));
    // The link still points at its target, which now holds the container
    // with the permissions it had.
    EXPECT_TRUE(fs::is_symlink(dir.Path("link.enc")));
    ByteArray container = dir.Read("target.enc");
    ASSERT_TRUE(clsBlowfish().DecryptByte(container, u"k"));
    EXPECT_EQ(container, source);
    EXPECT_EQ(fs::status(dir.Path("target.enc")).permissions(), fs::perms(0640));
    EXPECT_EQ(dir.Entries(), Entries({"plain.bin", "target.enc", "link.enc"}));
}
