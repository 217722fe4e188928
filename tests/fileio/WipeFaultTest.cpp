// The wipe when things go wrong under it: a full disk, failing writes and
// flushes, a file system without the no-replace rename, and termination
// signals at chosen moments. The original is never deleted before what was
// written over it is on disk, never left hidden by a signal, and the user is
// told what really became of it.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "cipher/clsBlowfish.h"
#include "core/Messages.h"
#include "core/SourceWipe.h"
#include "core/TerminationCleanup.h"
#include "tests/fileio/FaultSupport.h"
#include "tests/fileio/SyscallSeam.h"

namespace fileiotest {
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

    core::WipeResult Wipe() const {
        return core::WipeSource(source_.u16string(), encrypted_.u16string(), kPassword, nullptr);
    }

    // Runs `body` in a child with the program's termination handler; its
    // wait status.
    static int InChildWithHandler(const std::function<void()>& body) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            core::RemoveTemporaryFileOnTermination();
            body();
            ::_exit(0);
        }
        int status = 0;
        return ::waitpid(pid, &status, 0) == pid ? status : -1;
    }

    ScratchDir scratch_;
    fs::path folder_, source_, encrypted_;
    Bytes plain_;
};

// On a full disk the original's own blocks are rewritten, which needs no
// room: the container's 12 to 19 extra bytes are not written over it.
TEST_F(WipeFaults, FullDiskStillWipes) {
    std::string why;
    const fs::path small = scratch_.Folder("small");
    const auto mount = Mount::Tmpfs(small, 2 << 20, why);
    if (!mount) GTEST_SKIP() << why;
    Prepare(small, 256 << 10);  // whole pages, so one byte more needs a new one
    // Filled up to the last byte.
    const int filler = ::open((small / "filler").c_str(), O_WRONLY | O_CREAT, 0600);
    const Bytes block(4096, 0xee);
    while (::write(filler, block.data(), block.size()) > 0) {
    }
    ASSERT_EQ(errno, ENOSPC);
    ::close(filler);
    const core::WipeResult result = Wipe();
    EXPECT_EQ(result.outcome, core::WipeOutcome::Wiped) << result.reason;
    EXPECT_FALSE(fs::exists(source_));
    EXPECT_EQ(TempFilesIn(small), std::vector<std::string>{});
}

// Writing over the original fails at the first byte, part-way, or part-way
// with the flush failing too: the original is kept under its name, deleted
// only once what was written is on disk, or kept (never deleted unflushed)
// where the message says.
TEST_F(WipeFaults, FailedOverwriteIsToldAsItHappened) {
    struct Case {
        std::uint64_t writtenBeforeFailure;
        bool flushFails;
        core::WipeOutcome outcome;
    };
    for (const Case& c : {Case{0, false, core::WipeOutcome::OverwriteFailed},
                          Case{10000, false, core::WipeOutcome::PartlyOverwritten},
                          Case{10000, true, core::WipeOutcome::LeftAside}}) {
        SCOPED_TRACE(testing::Message() << c.writtenBeforeFailure << " bytes, " << c.flushFails);
        seam::Reset();
        WriteFile(source_, plain_);
        seam::FailWritesAfter(c.writtenBeforeFailure, ENOSPC);
        int flushesAtUnlink = -1;
        seam::AfterNextRename([&, flushFails = c.flushFails] {
            if (flushFails) seam::FailNextFsync(EIO);
            seam::BeforeNextUnlink([&] { flushesAtUnlink = seam::FsyncCount(); });
        });

        const core::WipeResult result = Wipe();

        EXPECT_EQ(result.outcome, c.outcome) << result.reason;
        const std::string told = *core::messages::ForWipe(result, source_.string());
        EXPECT_EQ(fs::exists(source_), c.writtenBeforeFailure == 0) << told;
        if (c.writtenBeforeFailure == 0) {
            EXPECT_EQ(ReadFile(source_), plain_);
        }
        if (c.outcome == core::WipeOutcome::PartlyOverwritten) {
            EXPECT_GE(flushesAtUnlink, 1) << "deleted before the overwrite was flushed";
        }
        if (c.outcome == core::WipeOutcome::LeftAside) {
            EXPECT_EQ(fs::file_size(result.leftAt), plain_.size()) << told;
            EXPECT_NE(told.find(result.leftAt), std::string::npos) << told;
            fs::remove(result.leftAt);
        }
        EXPECT_EQ(TempFilesIn(folder_), std::vector<std::string>{});
    }
}

// The encrypted file's folder could not be flushed as it was put in place:
// its name might not survive a crash, so the original is not wiped.
TEST_F(WipeFaults, UnflushedFolderOfTheEncryptedFileSkipsTheWipe) {
    fs::remove(encrypted_);
    seam::FailNextFolderFsync(EIO);
    ASSERT_TRUE(Transform(Direction::Encrypt, source_, encrypted_, kPassword).written);

    const core::WipeResult result = Wipe();

    EXPECT_EQ(result.outcome, core::WipeOutcome::NotDurable) << result.reason;
    EXPECT_TRUE(core::WipeMissed(result));
    EXPECT_EQ(ReadFile(source_), plain_);
}

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
            << core::messages::ForFile(cipher.LastError());
        EXPECT_EQ(DecryptedContent(encrypted_, kPassword), plain_);

        const fs::path other = folder_ / "other.enc";
        const Bytes stranger = RandomBytes(100, 3);
        seam::BeforeFirstRead(source_, [&] { WriteFile(other, stranger); });
        in = source_.u16string(), out = other.u16string(), key = kPassword;
        EXPECT_FALSE(cipher.EncryptFile(in, out, false, key));
        EXPECT_EQ(cipher.LastError().failure, cipher::FileFailure::DestinationExists);
        EXPECT_EQ(ReadFile(other), stranger);
        fs::remove(other);

        EXPECT_EQ(Wipe().outcome, core::WipeOutcome::Wiped);
        EXPECT_FALSE(fs::exists(source_));
        EXPECT_GT(seam::RefusedRenames(), 0);
        EXPECT_EQ(TempFilesIn(folder_), std::vector<std::string>{});
    }
}

// A termination signal during the wipe, in a child with the program's own
// handler: right after the original was renamed aside it gets its name back
// unchanged; at the flush of the overwrite (everything written, nothing on
// disk yet) the flush and the delete happen first. Either way the program
// then ends by that signal and leaves nothing hidden behind.
TEST_F(WipeFaults, TerminationSignalNeverLosesOrHidesTheOriginal) {
    struct Shared {
        int flushesAtSignal = -1, flushesAtUnlink = -1;
    };
    auto* shared = static_cast<Shared*>(
        ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(shared, MAP_FAILED);
    for (const bool beforeOverwrite : {true, false}) {
        SCOPED_TRACE(beforeOverwrite ? "after the rename" : "at the flush");
        WriteFile(source_, plain_);
        *shared = Shared{};
        const int status = InChildWithHandler([&] {
            auto terminate = [shared] {
                shared->flushesAtSignal = seam::FsyncCount();
                ::raise(SIGTERM);
            };
            seam::AfterNextRename([=] {
                if (beforeOverwrite) return terminate();
                seam::BeforeNextFsync(terminate);
                seam::BeforeNextUnlink([shared] { shared->flushesAtUnlink = seam::FsyncCount(); });
            });
            Wipe();
        });
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
        EXPECT_GE(shared->flushesAtSignal, 0) << "the signal was never sent";
        if (beforeOverwrite) {
            EXPECT_EQ(ReadFile(source_), plain_);
        } else {
            EXPECT_FALSE(fs::exists(source_));
            EXPECT_GT(shared->flushesAtUnlink, shared->flushesAtSignal)
                << "deleted before the overwrite was flushed";
        }
        EXPECT_EQ(TempFilesIn(folder_), std::vector<std::string>{});
        EXPECT_EQ(DecryptedContent(encrypted_, kPassword), plain_);
    }
    ::munmap(shared, sizeof(Shared));
}

// A new file's temporary name is taken by someone else just before it is
// linked, and a termination signal arrives right after: the other file is
// not the program's to remove, and stays.
TEST_F(WipeFaults, SignalAfterATakenTemporaryNameSparesTheOtherFile) {
    const fs::path destination = folder_ / "new.enc";
    const int status = InChildWithHandler([&] {
        seam::BeforeNextLink([](int folder, const char* name) {
            ::close(::openat(folder, name, O_WRONLY | O_CREAT | O_EXCL, 0644));
            ::raise(SIGTERM);
        });
        Transform(Direction::Encrypt, source_, destination, kPassword);
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    // The file created in the link's place, and nothing else of ours.
    EXPECT_EQ(TempFilesIn(folder_).size(), 1u);
    EXPECT_FALSE(fs::exists(destination));
}

}  // namespace
}  // namespace fileiotest
