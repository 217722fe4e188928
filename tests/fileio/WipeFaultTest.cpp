// The wipe and new files when things go wrong under them: here, a file
// system without the no-replace rename.

#include <fcntl.h>
#include <gtest/gtest.h>

#include "cipher/clsBlowfish.h"
#include "core/Messages.h"
#include "core/SourceWipe.h"
#include "tests/fileio/FaultSupport.h"
#include "tests/fileio/SyscallSeam.h"

namespace faults {
namespace {

const std::u16string kPassword = u"wipe me";

class WipeFaults : public testing::Test {
protected:
    void SetUp() override { Prepare(scratch_.Folder("work"), 64 << 10); }
    void TearDown() override { seam::Reset(); }

    // An original of `size` bytes in `folder` and its checked encrypted copy.
    void Prepare(const fs::path& folder, std::size_t size) {
        folder_ = folder;
        source_ = folder / "letter.txt";
        encrypted_ = scratch_ / "letter.txt.enc";
        plain_ = RandomBytes(size, 23);
        WriteFile(source_, plain_);
        WriteFile(encrypted_, Encrypt(plain_, kPassword));
    }

    WipeResult Wipe() const {
        return WipeSource(source_.u16string(), encrypted_.u16string(), kPassword, nullptr);
    }

    ScratchDir scratch_;
    fs::path folder_, source_, encrypted_;
    Bytes plain_;
};

// Without the no-replace rename (NFS, FUSE, older CIFS), and without hard
// links either, new files and the wipe still work, and a file that appears
// under the destination's name meanwhile is still not replaced.
TEST_F(WipeFaults, WithoutNoReplaceRenameTheFallbacksWork) {
    for (const bool hardLinks : {true, false}) {
        SCOPED_TRACE(hardLinks ? "link and unlink" : "checked rename");
        seam::Reset();
        seam::RefuseNoReplaceRename(hardLinks);
        if (!hardLinks) seam::RefuseUnnamedFiles();
        WriteFile(source_, plain_);
        fs::remove(encrypted_);

        clsBlowfish cipher;
        std::u16string in = source_.u16string(), out = encrypted_.u16string(), key = kPassword;
        ASSERT_TRUE(cipher.EncryptFile(in, out, false, key))
            << messages::ForFile(cipher.LastError());
        EXPECT_EQ(DecryptedContent(encrypted_, kPassword), plain_);

        const fs::path other = folder_ / "other.enc";
        const Bytes stranger = RandomBytes(100, 3);
        seam::BeforeFirstRead(source_, [&] { WriteFile(other, stranger); });
        in = source_.u16string(), out = other.u16string(), key = kPassword;
        EXPECT_FALSE(cipher.EncryptFile(in, out, false, key));
        EXPECT_EQ(cipher.LastError().failure, FileFailure::DestinationExists);
        EXPECT_EQ(ReadFile(other), stranger);
        fs::remove(other);

        EXPECT_EQ(Wipe().outcome, WipeOutcome::Wiped);
        EXPECT_FALSE(fs::exists(source_));
        EXPECT_GT(seam::RefusedRenames(), 0);
        EXPECT_EQ(TempFilesIn(folder_), std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace faults
