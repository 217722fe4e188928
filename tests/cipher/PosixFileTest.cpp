#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "fileio/FileStore.h"
#include "tests/cipher/CipherTestSupport.h"

namespace {

using testsupport::ByteArray;
using testsupport::RandomBytes;

// Whole-buffer writes (for callers that build the content in memory) go
// through the same destination checks as the file operations.
TEST(WriteFileAtomically, WritesThroughLinksAndRefusesWhatFileOperationsRefuse) {
    testsupport::TempDir dir;
    const ByteArray content = RandomBytes(1000, 3);
    std::filesystem::create_symlink("target", dir.Path("link"));
    EXPECT_FALSE(fileio::WriteFileAtomically(dir.Path("link"), content.data(), content.size()));
    EXPECT_EQ(dir.Read("target"), content);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link")));

    ASSERT_EQ(::mkfifo(dir.Path("pipe").c_str(), 0600), 0);
    EXPECT_EQ(fileio::WriteFileAtomically(dir.Path("pipe"), content.data(), content.size()),
              std::errc::invalid_argument);
    EXPECT_TRUE(std::filesystem::is_fifo(dir.Path("pipe")));
    EXPECT_EQ(dir.Entries(), (std::set<std::string>{"link", "pipe", "target"}));
}

}  // namespace
