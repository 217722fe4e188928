#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <filesystem>

#include "app/SourceWipe.h"
#include "cipher/clsBlowfish.h"
#include "tests/app/support/TempFiles.h"

namespace {

const std::u16string kPassword = u"pass word";

class SourceWipeTest : public ::testing::Test {
protected:
    // Encrypts content into a file of the given name; returns its path.
    QString Encrypted(const QString& name, const QByteArray& content,
                      const std::u16string& password = kPassword) {
        clsBlowfish::ByteArray bytes(content.begin(), content.end());
        clsBlowfish().EncryptByte(bytes, password);
        return files.Write(name, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                            static_cast<qsizetype>(bytes.size())));
    }

    TempFiles files;
    const QByteArray plain{"the only copy of my data\n"};
};

TEST_F(SourceWipeTest, VerifiedWipeOverwritesTheSameFileThenDeletesIt) {
    const QString source = files.Write("data.txt", plain);
    const QString encrypted = Encrypted("data.txt.enc", plain);
    // A second name for the source's own content shows what the wipe wrote into it.
    const QString peek = files.Path("peek");
    std::filesystem::create_hard_link(source.toStdString(), peek.toStdString());

    const WipeResult result = WipeSource(source, encrypted, kPassword, nullptr);

    EXPECT_EQ(result.outcome, WipeOutcome::Wiped);
    EXPECT_FALSE(TempFiles::Exists(source));
    EXPECT_EQ(TempFiles::Read(peek), TempFiles::Read(encrypted));
}

TEST_F(SourceWipeTest, NoWipeWhenBothPathsNameOneFile) {
    const QString source = Encrypted("data.txt", plain);
    QDir(files.Path({})).mkdir("sub");
    const QString symbolic = files.Path("link.enc");
    const QString hard = files.Path("hard.enc");
    QFile::link(source, symbolic);
    std::filesystem::create_hard_link(source.toStdString(), hard.toStdString());

    for (const QString& other :
         {source, files.Path("sub/../data.txt"), files.Path("./data.txt"), symbolic, hard}) {
        EXPECT_EQ(WipeSource(source, other, kPassword, nullptr).outcome, WipeOutcome::SameFile)
            << other.toStdString();
        EXPECT_TRUE(TempFiles::Exists(source));
    }
    EXPECT_TRUE(MaybeSameFile(source, files.Path("sub/../data.txt")));
    EXPECT_FALSE(MaybeSameFile(source, Encrypted("other.enc", plain)));
}

TEST_F(SourceWipeTest, NoWipeWhenTheEncryptedFileDoesNotGiveBackTheSource) {
    const QString source = files.Write("data.txt", plain);
    const QString stale = Encrypted("stale.enc", "an older file of that name");
    const QString otherKey = Encrypted("otherkey.enc", plain, u"another password");
    const QString garbage = files.Write("garbage.enc", QByteArray(32, '\x5a'));

    for (const QString& encrypted : {stale, otherKey, garbage}) {
        EXPECT_EQ(WipeSource(source, encrypted, kPassword, nullptr).outcome,
                  WipeOutcome::NotVerified)
            << encrypted.toStdString();
    }
    const WipeResult missing = WipeSource(source, files.Path("gone.enc"), kPassword, nullptr);
    EXPECT_NE(missing.outcome, WipeOutcome::Wiped);
    EXPECT_EQ(TempFiles::Read(source), plain);
}

}  // namespace
