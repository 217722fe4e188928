// What the file operations do when the file system works against them: the
// source must stay as it was, an existing destination must stay as it was,
// no temporary file may be left behind, and the caller must be told why.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "cipher/clsBlowfish.h"
#include "core/Messages.h"
#include "tests/fileio/FaultSupport.h"
#include "tests/fileio/SyscallSeam.h"

namespace fileiotest {
namespace {

const std::u16string kPassword = u"correct horse";

struct stat Lstat(const fs::path& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

// A Unix socket's file in the file system.
bool MakeSocketFile(const fs::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

class FileFaults : public testing::TestWithParam<Direction> {
protected:
    void SetUp() override {
        in_ = scratch_.Folder("in");
        out_ = scratch_.Folder("out", fs::perms(0777));
        source_ = in_ / "source.bin";
        destination_ = out_ / "destination.bin";
        plain_ = RandomBytes(5000, 17);
        WriteFile(source_, Encrypting() ? plain_ : Encrypt(plain_, kPassword));
        fs::permissions(source_, fs::perms(0644));
    }
    void TearDown() override { seam::Reset(); }

    bool Encrypting() const { return GetParam() == Direction::Encrypt; }

    Outcome Run() const { return Run(source_, destination_); }
    Outcome Run(const fs::path& source, const fs::path& destination) const {
        return Transform(GetParam(), source, destination, kPassword);
    }

    // The destination's previous content, which must survive a failure.
    void PlaceOldDestination() const { WriteFile(destination_, RandomBytes(300, 99)); }

    // Records the source, the destination and both folders as they are now.
    void Remember() {
        sourceBefore_ = Capture(source_);
        destinationBefore_ = Capture(destination_);
    }

    // The operation failed for `expected` and nothing on disk changed.
    void ExpectRefusedAndNothingLost(const Outcome& outcome, cipher::FileFailure expected) const {
        EXPECT_FALSE(outcome.written) << outcome;
        EXPECT_EQ(outcome.failure, expected) << outcome;
        EXPECT_EQ(Capture(source_), sourceBefore_) << "the source changed";
        EXPECT_EQ(Capture(destination_), destinationBefore_) << "the destination changed";
        EXPECT_EQ(TempFilesIn(out_), std::vector<std::string>{}) << "temporary file left";
        EXPECT_EQ(TempFilesIn(in_), std::vector<std::string>{}) << "temporary file left";
    }

    ScratchDir scratch_;
    fs::path in_, out_, source_, destination_;
    Bytes plain_;
    Entry sourceBefore_, destinationBefore_;
};

// --- The destination cannot be written -------------------------------------

TEST_P(FileFaults, DestinationFolderWithoutWritePermission) {
    for (const bool existing : {true, false}) {
        SCOPED_TRACE(existing ? "existing destination" : "new destination");
        fs::permissions(out_, fs::perms(0777));
        fs::remove(destination_);
        if (existing) PlaceOldDestination();
        fs::permissions(out_, fs::perms(0555));
        Remember();
        std::string why;
        const std::optional<Outcome> outcome = RunUnprivileged([&] { return Run(); }, why);
        if (!outcome) GTEST_SKIP() << why;
        ExpectRefusedAndNothingLost(*outcome, cipher::FileFailure::DestinationUnwritable);
        EXPECT_EQ(outcome->error, EACCES);
    }
}

TEST_P(FileFaults, DestinationOnReadOnlyFileSystem) {
    std::string why;
    const auto mount = Mount::Tmpfs(out_, 1 << 20, why);
    if (!mount) GTEST_SKIP() << why;
    PlaceOldDestination();
    if (!mount->RemountReadOnly(why)) GTEST_SKIP() << why;
    Remember();
    ExpectRefusedAndNothingLost(Run(), cipher::FileFailure::DestinationUnwritable);
}

TEST_P(FileFaults, DestinationIsAFolder) {
    const fs::path folder = out_ / "folder";
    fs::create_directory(folder);
    WriteFile(folder / "inside.txt", RandomBytes(10, 3));
    const Entry before = Capture(folder);
    // With a trailing separator the temporary file would go inside the
    // folder; it must not stay there either.
    for (const fs::path& destination : {folder, fs::path(folder.string() + "/")}) {
        SCOPED_TRACE(destination);
        Remember();
        const Outcome outcome = Run(source_, destination);
        ExpectRefusedAndNothingLost(outcome, cipher::FileFailure::DestinationUnwritable);
        EXPECT_EQ(Capture(folder), before);
    }
}

TEST_P(FileFaults, DestinationFolderMissing) {
    destination_ = out_ / "no such folder" / "destination.bin";
    Remember();
    const Outcome outcome = Run();
    ExpectRefusedAndNothingLost(outcome, cipher::FileFailure::DestinationUnwritable);
    EXPECT_EQ(outcome.error, ENOENT);
}

TEST_P(FileFaults, DestinationOnFullFileSystem) {
    std::string why;
    // Room for the old destination but not for a 1 MiB replacement.
    const auto mount = Mount::Tmpfs(out_, 64 << 10, why);
    if (!mount) GTEST_SKIP() << why;
    plain_ = RandomBytes(1 << 20, 5);
    WriteFile(source_, Encrypting() ? plain_ : Encrypt(plain_, kPassword));
    PlaceOldDestination();
    Remember();
    const Outcome outcome = Run();
    ExpectRefusedAndNothingLost(outcome, cipher::FileFailure::DestinationUnwritable);
    EXPECT_EQ(outcome.error, ENOSPC);
}

TEST_P(FileFaults, FlushToDiskFails) {
    PlaceOldDestination();
    Remember();
    seam::FailNextFsync(EIO);
    const Outcome outcome = Run();
    EXPECT_EQ(seam::BytesReadFrom(source_), sourceBefore_.content.size());
    ExpectRefusedAndNothingLost(outcome, cipher::FileFailure::DestinationUnwritable);
    EXPECT_EQ(outcome.error, EIO);
}

// Where the file system has no unnamed temporary files, a named one beside
// the destination serves, and is gone afterwards whether the operation
// completed or failed.
TEST_P(FileFaults, WithoutUnnamedFilesTheNamedTemporaryFileIsRemoved) {
    seam::RefuseUnnamedFiles();
    PlaceOldDestination();
    Remember();
    seam::FailNextFsync(EIO);
    ExpectRefusedAndNothingLost(Run(), cipher::FileFailure::DestinationUnwritable);

    ASSERT_TRUE(Run().written);
    EXPECT_EQ(TempFilesIn(out_), std::vector<std::string>{});
    const Bytes written = ReadFile(destination_);
    EXPECT_EQ(Encrypting() ? DecryptedContent(destination_, kPassword) : std::optional(written),
              plain_);
}

// --- The source cannot be read ---------------------------------------------

TEST_P(FileFaults, SourceWithoutReadPermission) {
    PlaceOldDestination();
    fs::permissions(source_, fs::perms::none);
    Remember();
    std::string why;
    const std::optional<Outcome> outcome = RunUnprivileged([&] { return Run(); }, why);
    if (!outcome) GTEST_SKIP() << why;
    ExpectRefusedAndNothingLost(*outcome, cipher::FileFailure::SourceUnreadable);
    EXPECT_EQ(outcome->error, EACCES);
}

TEST_P(FileFaults, SourceIsAFolderIsDeclinedWithArgumentsKept) {
    PlaceOldDestination();
    source_ = in_ / "folder";
    fs::create_directory(source_);
    Remember();

    clsBlowfish cipher;
    std::u16string in = source_.u16string(), out = destination_.u16string(), key = kPassword;
    const bool written = Encrypting() ? cipher.EncryptFile(in, out, true, key)
                                      : cipher.DecryptFile(in, out, true, key);
    ExpectRefusedAndNothingLost({written, cipher.LastError().failure, 0},
                                cipher::FileFailure::SourceIsFolder);
    EXPECT_EQ(in, source_.u16string());
    EXPECT_EQ(out, destination_.u16string());
    EXPECT_EQ(key, kPassword);
}

// The source passes the existence check and is then taken away or replaced
// before the engine opens it. The seam runs the change at the exact moment
// between the check and the open.
TEST_P(FileFaults, SourceRemovedAfterTheCheck) {
    PlaceOldDestination();
    Remember();
    seam::BeforeOpen(source_, [&] { fs::remove(source_); });
    const Outcome outcome = Run();
    sourceBefore_ = Entry{};  // gone, as the hook made it
    ExpectRefusedAndNothingLost(outcome, cipher::FileFailure::SourceUnreadable);
    EXPECT_EQ(outcome.error, ENOENT);
}

TEST_P(FileFaults, SourceReplacedByAFolderAfterTheCheck) {
    PlaceOldDestination();
    Remember();
    seam::BeforeOpen(source_, [&] {
        fs::remove(source_);
        fs::create_directory(source_);
    });
    const Outcome outcome = Run();
    EXPECT_EQ(seam::OpenCount(source_), 1) << "the seam did not see the engine open the source";
    sourceBefore_ = Entry{Entry::Kind::Folder, {}, {}};
    ExpectRefusedAndNothingLost(outcome, cipher::FileFailure::SourceUnreadable);
}

TEST_P(FileFaults, SourceReplacedByAPipeAfterTheCheckDoesNotHang) {
    PlaceOldDestination();
    Remember();
    seam::BeforeOpen(source_, [&] {
        fs::remove(source_);
        if (::mkfifo(source_.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
    });
    // Nothing ever writes to the pipe: an engine that waits for a writer
    // would wait forever, so the operation runs in a child under a limit.
    const ChildRun run = RunInChild([&] { return Run(); }, {.limit = std::chrono::seconds(5)});
    ASSERT_EQ(run.status, ChildRun::Status::Finished) << run.detail;
    sourceBefore_ = Entry{Entry::Kind::Other, {}, {}};
    ExpectRefusedAndNothingLost(run.outcome, cipher::FileFailure::SourceUnreadable);
}

TEST_P(FileFaults, SourceTruncatedWhileItIsRead) {
    PlaceOldDestination();
    Remember();
    seam::BeforeFirstRead(source_, [&] { fs::resize_file(source_, 100); });
    const Outcome outcome = Run();
    EXPECT_GT(seam::OpenCount(source_), 0) << "the seam did not see the engine open the source";
    sourceBefore_.content.resize(100);
    // Worded as a change, not as a disk error.
    ExpectRefusedAndNothingLost(outcome, cipher::FileFailure::SourceChanged);
}

// A source that grows while it is read is not cut short at its old length:
// the operation fails as for one that shrank and writes nothing, as raw
// containers and, when encrypting, as Base64 text.
TEST_P(FileFaults, SourceGrowingWhileItIsReadWritesNothing) {
    for (const bool base64 : {false, true}) {
        if (base64 && !Encrypting()) continue;
        SCOPED_TRACE(base64 ? "Base64" : "raw");
        WriteFile(source_, Encrypting() ? plain_ : Encrypt(plain_, kPassword));
        PlaceOldDestination();
        Remember();
        const Bytes more = RandomBytes(1000, 4);
        seam::BeforeFirstRead(source_, [&] {
            Bytes grown = sourceBefore_.content;
            grown.insert(grown.end(), more.begin(), more.end());
            WriteFile(source_, grown);
        });
        clsBlowfish cipher;
        std::u16string in = source_.u16string(), out = destination_.u16string(), key = kPassword;
        const bool written = Encrypting() ? cipher.EncryptFile(in, out, true, key, base64)
                                          : cipher.DecryptFile(in, out, true, key);
        sourceBefore_.content.insert(sourceBefore_.content.end(), more.begin(), more.end());
        ExpectRefusedAndNothingLost({written, cipher.LastError().failure, 0},
                                    cipher::FileFailure::SourceChanged);
        EXPECT_NE(
            core::messages::ForFile(cipher.LastError()).find("changed while it was being read"),
            std::string::npos);
    }
}

// A source longer than any container (over 2^31 - 20 bytes of data for
// encryption, over 2^31 - 1 bytes for decryption) is refused from its size
// alone. The file is sparse, so it costs no disk space; reading it would
// cost two gigabytes of memory.
TEST_P(FileFaults, OversizedSparseSourceIsRefusedBeforeReading) {
    const std::uint64_t size =
        Encrypting() ? (std::uint64_t{1} << 31) - 19 : std::uint64_t{1} << 31;
    fs::resize_file(source_, size);
    PlaceOldDestination();
    const Entry destinationBefore = Capture(destination_);
    const Outcome outcome = Run();
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.failure, cipher::FileFailure::SourceTooLarge);
    EXPECT_EQ(seam::BytesReadFrom(source_), 0u);
    EXPECT_EQ(fs::file_size(source_), size);
    EXPECT_EQ(Capture(destination_), destinationBefore);
    EXPECT_EQ(TempFilesIn(out_), std::vector<std::string>{});
}

// --- Destinations that must not be replaced --------------------------------

// A device node, a pipe or a socket named as destination, directly or
// through a symbolic link, is refused and stays what it was.
TEST_P(FileFaults, DestinationThatIsNotARegularFileIsLeftAlone) {
    std::vector<fs::path> nodes = {out_ / "pipe", out_ / "socket"};
    ASSERT_EQ(::mkfifo(nodes[0].c_str(), 0600), 0);
    ASSERT_TRUE(MakeSocketFile(nodes[1]));
    if (::geteuid() == 0) {
        nodes.push_back(out_ / "null");
        ASSERT_EQ(::mknod(nodes.back().c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    }
    for (const fs::path& node : nodes) {
        const fs::path link = out_ / (node.filename().string() + "-link");
        fs::create_symlink(node, link);
        for (const fs::path& destination : {node, link}) {
            SCOPED_TRACE(destination);
            destination_ = destination;
            Remember();
            const struct stat before = Lstat(node);
            ExpectRefusedAndNothingLost(Run(), cipher::FileFailure::DestinationNotAFile);
            const struct stat after = Lstat(node);
            EXPECT_EQ(after.st_mode, before.st_mode);
            EXPECT_EQ(after.st_rdev, before.st_rdev);
            EXPECT_TRUE(fs::is_symlink(link));
        }
    }
}

// A dangling link: its target is created, the link stays. A target in a
// folder that does not exist is an error that creates nothing.
TEST_P(FileFaults, DanglingLinkDestinationGetsItsTargetCreated) {
    const fs::path target = out_ / "target.bin";
    fs::create_symlink("target.bin", destination_);
    ASSERT_TRUE(Run().written);
    EXPECT_TRUE(fs::is_symlink(destination_));
    const Bytes written = ReadFile(target);
    EXPECT_EQ(Encrypting() ? DecryptedContent(target, kPassword) : std::optional<Bytes>(written),
              plain_);

    fs::remove(destination_);
    fs::remove(target);
    fs::create_symlink(out_ / "missing folder" / "target.bin", destination_);
    Remember();
    const Outcome outcome = Run();
    ExpectRefusedAndNothingLost(outcome, cipher::FileFailure::DestinationUnwritable);
    EXPECT_EQ(outcome.error, ENOENT);
    EXPECT_FALSE(fs::exists(out_ / "missing folder"));
}

TEST_P(FileFaults, ReadOnlyDestinationIsRefused) {
    PlaceOldDestination();
    fs::permissions(destination_, fs::perms(0444));
    Remember();
    ExpectRefusedAndNothingLost(Run(), cipher::FileFailure::DestinationReadOnly);
    EXPECT_EQ((fs::status(destination_).permissions() & fs::perms::all), fs::perms(0444));
    const cipher::FileError error{
        cipher::FileFailure::DestinationReadOnly, destination_.u16string(), {}};
    EXPECT_NE(core::messages::ForFile(error).find("is read-only"), std::string::npos)
        << core::messages::ForFile(error);
}

// In a sticky folder that everyone may write to, a link that someone else
// planted is not followed; our own link there is. Planting a link as
// another user needs root.
TEST_P(FileFaults, LinkPlantedByAnotherUserInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "planting another user's link needs root";
    const fs::path shared = scratch_.Folder("shared", fs::perms(01777));
    const fs::path secret = scratch_.Folder("secret", fs::perms(0700)) / "victim";
    WriteFile(secret, RandomBytes(200, 4));
    const Entry victimBefore = Capture(secret);
    destination_ = shared / "planted";
    fs::create_symlink(secret, destination_);
    ASSERT_EQ(::lchown(destination_.c_str(), 65534, 65534), 0);
    Remember();
    ExpectRefusedAndNothingLost(Run(), cipher::FileFailure::DestinationUntrustedLink);
    EXPECT_EQ(Capture(secret), victimBefore);

    destination_ = shared / "mine";
    fs::create_symlink(secret, destination_);
    EXPECT_TRUE(Run().written);
    EXPECT_NE(Capture(secret), victimBefore);
}

// Names that are not valid in the system's path encoding (bytes of a
// command line that do not decode arrive as lone surrogates) are declined.
TEST_P(FileFaults, NamesInvalidInThePathEncodingAreDeclined) {
    const std::u16string bad = out_.u16string() + u"/out\xDCE9.txt";
    for (const bool badSource : {true, false}) {
        clsBlowfish cipher;
        std::u16string in = badSource ? bad : source_.u16string();
        std::u16string out = badSource ? destination_.u16string() : bad;
        std::u16string key = kPassword;
        const std::u16string inBefore = in, outBefore = out;
        Remember();
        const bool written = Encrypting() ? cipher.EncryptFile(in, out, true, key)
                                          : cipher.DecryptFile(in, out, true, key);
        ExpectRefusedAndNothingLost({written, cipher.LastError().failure, 0},
                                    cipher::FileFailure::InvalidName);
        EXPECT_EQ(cipher.LastError().path, bad);
        EXPECT_EQ(in, inBefore);
        EXPECT_EQ(out, outBefore);
        EXPECT_EQ(fs::directory_iterator(out_), fs::directory_iterator());
    }
}

INSTANTIATE_TEST_SUITE_P(BothDirections, FileFaults,
                         testing::Values(Direction::Encrypt, Direction::Decrypt),
                         [](const auto& info) { return Name(info.param); });

}  // namespace
}  // namespace fileiotest
