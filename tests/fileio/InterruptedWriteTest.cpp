// A file operation killed at a random moment must leave the destination as
// it was, absent, or complete and correct, and nothing but its own
// temporary file (an owner-only file named ".quillbox-...") behind.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <random>
#include <thread>
#include <unordered_map>

#include "cipher/clsBlowfish.h"
#include "tests/fileio/FaultSupport.h"
#include "tests/support/ChildProcess.h"

namespace fileiotest {
namespace {

constexpr int kKills = 30;
constexpr std::size_t kFileSize = 8 << 20;
const char kPassword[] = "interrupted 123";

using Clock = std::chrono::steady_clock;
using testsupport::WaitFor;

// Starts the tool; with stopAt, it stops itself at that progress report.
pid_t StartTool(Direction direction, const fs::path& source, const fs::path& destination,
                const char* tool = QUILLBOX_FILETOOL, int stopAt = 0) {
    const std::string mode = direction == Direction::Encrypt ? "encrypt" : "decrypt";
    std::vector<std::string> command{tool, mode, source.string(), destination.string(), kPassword};
    if (stopAt > 0) {
        command.insert(command.begin(),
                       {"/usr/bin/env", "QUILLBOX_FILETOOL_STOP_AT=" + std::to_string(stopAt)});
    }
    return testsupport::Start(command);
}

class InterruptedWrite : public testing::TestWithParam<Direction> {
protected:
    void SetUp() override {
        folder_ = scratch_.Folder("work");
        source_ = folder_ / "source";
        destination_ = folder_ / "destination";
        plain_ = RandomBytes(kFileSize, 31);
        const std::u16string password(std::begin(kPassword), std::end(kPassword) - 1);
        WriteFile(source_, Encrypting() ? plain_ : Encrypt(plain_, password));
    }

    bool Encrypting() const { return GetParam() == Direction::Encrypt; }

    // True when `bytes` is what the operation should have written.
    bool IsCorrectResult(Bytes bytes) const {
        if (!Encrypting()) return bytes == plain_;
        clsBlowfish cipher;
        const std::u16string password(std::begin(kPassword), std::end(kPassword) - 1);
        return cipher.DecryptByte(bytes, password) && bytes == plain_;
    }

    // Checks every entry of the folder and removes our temporary files.
    void CheckFolder(const std::optional<Bytes>& oldDestination) {
        for (const auto& entry : fs::directory_iterator(folder_)) {
            const std::string name = entry.path().filename().string();
            if (entry.path() == source_) continue;
            if (entry.path() == destination_) {
                const Bytes now = ReadFile(destination_);
                if (oldDestination && now == *oldDestination) {
                    ++keptOld_;
                } else {
                    EXPECT_TRUE(IsCorrectResult(now))
                        << "destination of " << now.size() << " bytes is neither old nor correct";
                    ++completed_;
                }
                continue;
            }
            struct stat st;
            ASSERT_EQ(::lstat(entry.path().c_str(), &st), 0);
            EXPECT_TRUE(name.starts_with(".quillbox-")) << "stray file " << name;
            EXPECT_TRUE(S_ISREG(st.st_mode)) << name;
            EXPECT_EQ(st.st_mode & 07777, 0600u) << name;
            EXPECT_EQ(st.st_uid, ::geteuid()) << name;
            ++tempsLeft_;
            fs::remove(entry.path());
        }
        if (!fs::exists(destination_)) {
            EXPECT_FALSE(oldDestination) << "the old destination was lost";
            ++absent_;
        }
    }

    ScratchDir scratch_;
    fs::path folder_, source_, destination_;
    Bytes plain_;
    int keptOld_ = 0, completed_ = 0, absent_ = 0, tempsLeft_ = 0;
};

TEST_P(InterruptedWrite, KilledAtRandomMomentsLosesNothing) {
    // One undisturbed run: it must succeed, and its length bounds the moments
    // at which the later runs are killed.
    const Clock::time_point start = Clock::now();
    const int status = WaitFor(StartTool(GetParam(), source_, destination_));
    const auto duration = Clock::now() - start;
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    ASSERT_TRUE(IsCorrectResult(ReadFile(destination_)));

    const Bytes sourceBytes = ReadFile(source_);
    std::mt19937 random(4242);
    const Bytes old = RandomBytes(4000, 8);
    int killed = 0;
    for (int run = 0; run < kKills; ++run) {
        SCOPED_TRACE(testing::Message() << "run " << run);
        std::optional<Bytes> oldDestination;
        fs::remove(destination_);
        if (run % 2 == 0) {
            WriteFile(destination_, old);
            oldDestination = old;
        }
        const auto delay = std::chrono::duration_cast<std::chrono::microseconds>(duration) *
                           std::uniform_real_distribution<double>(0.0, 1.0)(random);
        const pid_t pid = StartTool(GetParam(), source_, destination_);
        std::this_thread::sleep_for(delay);
        ::kill(pid, SIGKILL);
        const int runStatus = WaitFor(pid);
        killed += WIFSIGNALED(runStatus) ? 1 : 0;
        CheckFolder(oldDestination);
        ASSERT_EQ(ReadFile(source_), sourceBytes) << "the source changed";
    }
    // Most runs must really have been cut short, or the test proved little.
    EXPECT_GE(killed, kKills / 2);
    RecordProperty("killed", killed);
    RecordProperty("old_kept", keptOld_);
    RecordProperty("completed", completed_);
    RecordProperty("absent", absent_);
    RecordProperty("temporary_files_left", tempsLeft_);
}

// Where in `bytes` a run of at least 64 plaintext bytes stands, or nothing.
// Every such run covers a whole 32-byte piece of the plaintext at a
// multiple of 32, so those pieces are looked up at every offset.
std::optional<std::size_t> FindPlaintext(const Bytes& bytes, const Bytes& plain) {
    constexpr std::size_t kPiece = 32;
    std::unordered_multimap<std::uint64_t, std::size_t> pieces;
    for (std::size_t p = 0; p + kPiece <= plain.size(); p += kPiece) {
        std::uint64_t key;
        std::memcpy(&key, plain.data() + p, sizeof key);
        pieces.emplace(key, p);
    }
    for (std::size_t i = 0; i + kPiece <= bytes.size(); ++i) {
        std::uint64_t key;
        std::memcpy(&key, bytes.data() + i, sizeof key);
        const auto [first, last] = pieces.equal_range(key);
        for (auto it = first; it != last; ++it) {
            if (std::memcmp(bytes.data() + i, plain.data() + it->second, kPiece) == 0) return i;
        }
    }
    return std::nullopt;
}

// Killed at moments spread over the whole run, an encryption leaves no file
// in the folder, under any name, that holds a piece of the plaintext.
TEST(KilledEncryption, LeavesNoPlaintextAnywhere) {
    ScratchDir scratch;
    const fs::path folder = scratch.Folder("work");
    const fs::path source = folder / "source", destination = folder / "destination";
    const Bytes plain = RandomBytes(kFileSize, 77);
    WriteFile(source, plain);
    const Clock::time_point start = Clock::now();
    ASSERT_EQ(WaitFor(StartTool(Direction::Encrypt, source, destination)), 0);
    const auto duration = Clock::now() - start;
    ASSERT_FALSE(FindPlaintext(ReadFile(destination), plain)) << "the check finds nothing";
    ASSERT_TRUE(FindPlaintext(ReadFile(source), plain)) << "the check finds the plaintext";

    constexpr int kMoments = 12;
    for (int moment = 0; moment < kMoments; ++moment) {
        SCOPED_TRACE(testing::Message() << "killed at " << moment << "/" << kMoments);
        fs::remove(destination);
        const pid_t pid = StartTool(Direction::Encrypt, source, destination);
        std::this_thread::sleep_for(duration * moment / kMoments);
        ::kill(pid, SIGKILL);
        WaitFor(pid);
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path() == source || !entry.is_regular_file()) continue;
            const std::optional<std::size_t> at = FindPlaintext(ReadFile(entry.path()), plain);
            EXPECT_FALSE(at) << entry.path().filename() << " holds plaintext at " << *at;
            if (entry.path() != destination) fs::remove(entry.path());
        }
    }
}

// Told to end (terminate, interrupt, hang-up) part-way, the tool ends by
// that signal and leaves no temporary file; the destination is the old one,
// absent, or complete. Where the file system has no unnamed temporary files
// (the second tool), the named one it uses instead is removed.
TEST_P(InterruptedWrite, TerminationSignalsLeaveNoTemporaryFile) {
    // The tool stops itself part-way through the file; the signal then
    // arrives while its temporary file exists, at a different point each run.
    const auto signalAt = [&](const char* tool, int report, int signalNumber) {
        const pid_t pid = StartTool(GetParam(), source_, destination_, tool, report);
        int status = 0;
        while (::waitpid(pid, &status, WUNTRACED) < 0 && errno == EINTR) {
        }
        EXPECT_TRUE(WIFSTOPPED(status)) << status;
        ::kill(pid, signalNumber);
        ::kill(pid, SIGCONT);
        return WaitFor(pid);
    };
    for (const char* tool : {QUILLBOX_FILETOOL, QUILLBOX_FILETOOL_NAMED}) {
        SCOPED_TRACE(tool);
        const int signals[] = {SIGTERM, SIGINT, SIGHUP};
        for (int run = 0; run < 9; ++run) {
            const int signalNumber = signals[run % 3];
            SCOPED_TRACE(testing::Message() << "signal " << signalNumber << ", run " << run);
            const int status = signalAt(tool, 1 + run * 3, signalNumber);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << status;
            EXPECT_EQ(TempFilesIn(folder_), std::vector<std::string>{});
            CheckFolder(std::nullopt);
            fs::remove(destination_);
        }

        // What a kill, which cannot be handled, leaves: nothing with unnamed
        // temporary files, the named file without them.
        ASSERT_TRUE(WIFSIGNALED(signalAt(tool, 10, SIGKILL)));
        const bool named = std::string(tool) == QUILLBOX_FILETOOL_NAMED;
        EXPECT_EQ(TempFilesIn(folder_).size(), named ? 1u : 0u);
        CheckFolder(std::nullopt);
    }
}

INSTANTIATE_TEST_SUITE_P(BothDirections, InterruptedWrite,
                         testing::Values(Direction::Encrypt, Direction::Decrypt),
                         [](const auto& info) { return Name(info.param); });

}  // namespace
}  // namespace fileiotest
