// Files stream through a small buffer: the peak resident memory of a whole
// process that encrypts, decrypts or checks a file for the wipe must not
// grow with the file. Sparse sources keep the large cases quick.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cipher/clsBlowfish.h"
#include "tests/cipher/CipherTestSupport.h"
#include "tests/fileio/FaultSupport.h"
#include "tests/support/ChildProcess.h"

namespace fileiotest {
namespace {

const char kPassword[] = "flat memory";
constexpr std::uint64_t kMiB = 1 << 20;
// What a process may grow by between the smallest and the largest file.
constexpr double kAllowedGrowthMiB = 4;

// The peak resident size, in MiB, of the file tool run with these arguments.
double PeakMiB(const std::string& mode, const fs::path& from, const fs::path& to) {
    double peak = -1;
    const int status = testsupport::WaitFor(
        testsupport::Start({QUILLBOX_FILETOOL, mode, from.string(), to.string(), kPassword}),
        &peak);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << mode << " " << from << " ended with status " << status;
    return peak;
}

// A sparse container of `size` bytes whose first two blocks hold a valid
// size descriptor: it decrypts (to meaningless data) through its whole
// length.
void WriteSparseContainer(const fs::path& path, std::uint64_t size) {
    clsBlowfish cipher;
    cipher.Key(u"flat memory");
    const auto D = static_cast<std::int32_t>(size - 16);
    const Bytes head =
        testsupport::ChainEncrypt(cipher, testsupport::PlainContainer(1, 2, D, Bytes(4, 0x41), 16));
    WriteFile(path, head);
    fs::resize_file(path, size);
}

TEST(FlatMemory, PeakStaysFlatFromOneMebibyteToOneGibibyte) {
    ScratchDir scratch;
    const fs::path folder = scratch.Folder("files");
    double smallest = 0;
    for (const std::uint64_t size : {kMiB, 64 * kMiB, 1024 * kMiB}) {
        SCOPED_TRACE(testing::Message() << size / kMiB << " MiB");
        const fs::path container = folder / "container";
        WriteSparseContainer(container, size);
        const double decrypting = PeakMiB("decrypt", container, folder / "out");
        fs::remove(folder / "out");
        fs::remove(container);

        // Encryption and the wipe check read the whole source; the largest
        // size is left to decryption to keep the test quick.
        double encrypting = 0, checking = 0;
        if (size <= 64 * kMiB) {
            const fs::path plain = folder / "plain";
            WriteFile(plain, Bytes{});
            fs::resize_file(plain, size);
            encrypting = PeakMiB("encrypt", plain, folder / "plain.enc");
            checking = PeakMiB("wipe", plain, folder / "plain.enc");
            EXPECT_FALSE(fs::exists(plain)) << "the wipe did not happen";
            fs::remove(folder / "plain.enc");
        }
        RecordProperty("peak_decrypt_" + std::to_string(size / kMiB) + "MiB", decrypting);
        if (smallest == 0) smallest = std::max({decrypting, encrypting, checking});
        EXPECT_LT(decrypting, smallest + kAllowedGrowthMiB);
        EXPECT_LT(encrypting, smallest + kAllowedGrowthMiB);
        EXPECT_LT(checking, smallest + kAllowedGrowthMiB);
    }
}

}  // namespace
}  // namespace fileiotest
