// The wipe after a file encryption, driven through the main window's Encrypt
// action in command-line mode (where it wipes without asking): it must never
// remove the only copy of the data, never run after a failed encryption, and
// tell the user when the source cannot be overwritten or deleted.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QLineEdit>

#include "app/Global.h"
#include "tests/app/support/FakePlatform.h"
#include "tests/fileio/FaultSupport.h"
#include "ui/Form1.h"

namespace {

using namespace fileiotest;

const std::u16string kPassword = u"wipe test 42";

QString Q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

class WipeSafety : public testing::Test {
protected:
    void SetUp() override {
        Global::CurrentPassword.clear();
        folder_ = scratch_.Folder("files", fs::perms(0777));
        source_ = folder_ / "report.txt";
        WriteFile(source_, plain_);
    }
    void TearDown() override { Global::CurrentPassword.clear(); }

    // The Encrypt action as a command line with the password runs it: the
    // confirmation is answered, and the wipe follows without a question.
    bool EncryptFromCommandLine(const fs::path& source, const fs::path& destination) {
        form_.Text1()->setText(Q(source));
        form_.Text2()->setText(Q(destination));
        form_.SetCommandLine("/encrypt/report.txt/password");
        Global::CurrentPassword = kPassword;
        platform_.prompt.answers = {kPassword};
        platform_.messages.informed.clear();
        return form_.EncFile_Click();
    }

    bool HoldsPlain(const fs::path& path) const {
        std::error_code ec;
        return fs::is_regular_file(path, ec) && ReadFile(path) == plain_;
    }
    bool DecryptsToPlain(const fs::path& path) const {
        return DecryptedContent(path, kPassword) == plain_;
    }

    // The one message shown names the source and says `what`.
    void ExpectToldAboutSource(const char* what) const {
        ASSERT_EQ(platform_.messages.informed.size(), 1u);
        const QString& message = platform_.messages.informed.front();
        EXPECT_TRUE(message.contains(what)) << message.toStdString();
        EXPECT_TRUE(message.contains(Q(source_))) << message.toStdString();
    }

    FakePlatform platform_;
    Form1 form_{&platform_.services};
    ScratchDir scratch_;
    fs::path folder_, source_;
    const Bytes plain_ = RandomBytes(3000, 11);
};

// --- Source and destination are one file -----------------------------------

TEST_F(WipeSafety, SameFileUnderAnySpellingIsEncryptedInPlaceAndKept) {
    fs::create_directory(folder_ / "sub");
    fs::create_directory_symlink(folder_, scratch_ / "alias");
    const fs::path previous = fs::current_path();
    fs::current_path(folder_);
    const fs::path spellings[] = {
        source_,
        folder_ / "." / "report.txt",
        folder_ / "sub" / ".." / "report.txt",
        fs::path(folder_.string() + "//report.txt"),
        "report.txt",  // relative to the working folder
        scratch_ / "alias" / "report.txt",
    };
    for (const fs::path& destination : spellings) {
        SCOPED_TRACE(destination);
        WriteFile(source_, plain_);
        EXPECT_TRUE(EncryptFromCommandLine(source_, destination));
        EXPECT_TRUE(DecryptsToPlain(source_)) << "the only copy was lost";
        EXPECT_EQ(platform_.messages.informed, std::vector<QString>{});
    }
    fs::current_path(previous);
}

// A hard link or a symbolic link to the source as the destination: the
// encrypted file replaces the link, so afterwards the data must be readable
// from the destination, whatever happened to the source.
TEST_F(WipeSafety, LinkToTheSourceAsDestinationKeepsTheData) {
    const fs::path hard = folder_ / "hard.enc";
    const fs::path symbolic = folder_ / "symbolic.enc";
    for (const bool isHard : {true, false}) {
        const fs::path& destination = isHard ? hard : symbolic;
        SCOPED_TRACE(destination);
        WriteFile(source_, plain_);
        isHard ? fs::create_hard_link(source_, hard) : fs::create_symlink(source_, symbolic);
        EXPECT_TRUE(EncryptFromCommandLine(source_, destination));
        EXPECT_TRUE(DecryptsToPlain(destination)) << "the encrypted copy is not readable";
        EXPECT_TRUE(!fs::exists(source_) || HoldsPlain(source_) || DecryptsToPlain(source_));
    }
}

TEST_F(WipeSafety, SymbolicLinkSourcePointingAtTheDestinationIsNotWiped) {
    const fs::path link = folder_ / "link.txt";
    fs::create_symlink(source_, link);
    EXPECT_TRUE(EncryptFromCommandLine(link, source_));
    EXPECT_TRUE(DecryptsToPlain(source_)) << "the only copy was lost";
}

// --- A failed encryption ----------------------------------------------------

TEST_F(WipeSafety, NeverWipesAfterAFailedEncryption) {
    // The destination is a folder: the encryption fails.
    const fs::path folderDestination = folder_ / "report.txt.enc";
    fs::create_directory(folderDestination);
    EXPECT_FALSE(EncryptFromCommandLine(source_, folderDestination));
    EXPECT_TRUE(HoldsPlain(source_));
    EXPECT_EQ(platform_.messages.informed.size(), 1u);
}

TEST_F(WipeSafety, NeverWipesAfterAFailedEncryptionEvenOverAValidOlderFile) {
    // An older encryption of the very same data sits at the destination, on
    // a file system that has become read-only: it would pass the wipe's
    // check, but this encryption failed, so nothing may be wiped.
    const fs::path out = scratch_.Folder("out");
    std::string why;
    const auto mount = Mount::Tmpfs(out, 1 << 20, why);
    if (!mount) GTEST_SKIP() << why;
    const fs::path destination = out / "report.txt.enc";
    WriteFile(destination, Encrypt(plain_, kPassword));
    const Bytes older = ReadFile(destination);
    if (!mount->RemountReadOnly(why)) GTEST_SKIP() << why;

    EXPECT_FALSE(EncryptFromCommandLine(source_, destination));
    EXPECT_TRUE(HoldsPlain(source_));
    EXPECT_EQ(ReadFile(destination), older);
    EXPECT_EQ(platform_.messages.informed.size(), 1u);
}

// --- The source resists the wipe --------------------------------------------

TEST_F(WipeSafety, SourceThatCannotBeOverwrittenIsReported) {
    // The source's folder is made read-only: a read-only bind mount of
    // itself (which stops root too), or permissions for anyone else.
    std::unique_ptr<Mount> mount;
    if (::geteuid() == 0) {
        std::string why;
        mount = Mount::Bind(folder_, folder_, why);
        if (!mount || !mount->RemountReadOnly(why)) GTEST_SKIP() << why;
    } else {
        fs::permissions(source_, fs::perms(0444));
        fs::permissions(folder_, fs::perms(0555));
    }
    const fs::path destination = scratch_.Folder("out") / "report.txt.enc";

    EXPECT_TRUE(EncryptFromCommandLine(source_, destination));
    ExpectToldAboutSource("overwrite");
    EXPECT_TRUE(HoldsPlain(source_));
    EXPECT_TRUE(DecryptsToPlain(destination)) << "the encrypted file must be kept";
}

// The source's name is taken away before anything is written to it, so a
// source that cannot be removed is never left holding ciphertext under its
// plaintext's name: nothing happens to it and the user is told.
TEST_F(WipeSafety, SourceThatCannotBeDeletedIsReportedAndLeftAlone) {
    // The source can be written but not removed: a mount point cannot be
    // unlinked, even by root; anyone else is stopped by the folder's
    // permissions.
    std::unique_ptr<Mount> mount;
    if (::geteuid() == 0) {
        std::string why;
        mount = Mount::Bind(source_, source_, why);
        if (!mount) GTEST_SKIP() << why;
    } else {
        fs::permissions(folder_, fs::perms(0555));
    }
    const fs::path destination = scratch_.Folder("out") / "report.txt.enc";

    EXPECT_TRUE(EncryptFromCommandLine(source_, destination));
    ExpectToldAboutSource("deleted");
    EXPECT_TRUE(HoldsPlain(source_)) << "the source must not hold ciphertext under its name";
    EXPECT_EQ(form_.FileActionStatus(), core::kNotWiped);
    EXPECT_TRUE(DecryptsToPlain(destination)) << "the encrypted file must be kept";
}

}  // namespace
