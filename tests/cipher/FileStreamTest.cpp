// Files stream through fixed-size chunks. Wherever the chunk boundaries fall
// in the data, the file must hold exactly the container the byte-array
// operation would build, and the Progress reports and status texts must be
// those of the byte-array operations.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "cipher/ByteOrder.h"
#include "cipher/ChunkWorkers.h"
#include "cipher/clsBlowfish.h"
#include "tests/cipher/CipherTestSupport.h"

namespace {

using testsupport::ByteArray;
using testsupport::RandomBytes;
using testsupport::RecordingSink;

// The engine's chunk; the sizes below put the data's end and the container's
// end at every block alignment on either side of its first two multiples.
constexpr std::size_t kChunk = 256 << 10;
const std::u16string kKey = u"stream key";

std::vector<std::size_t> Sizes() {
    std::vector<std::size_t> sizes;
    for (std::size_t d = 0; d <= 20; ++d) sizes.push_back(d);
    for (std::size_t d = kChunk - 28; d <= kChunk + 4; ++d) sizes.push_back(d);
    for (std::size_t d = 2 * kChunk - 20; d <= 2 * kChunk - 4; ++d) sizes.push_back(d);
    return sizes;
}

struct FileRun {
    bool done = false;
    ByteArray bytes;
    RecordingSink sink;
};

FileRun EncryptThroughFile(testsupport::TempDir& dir, const ByteArray& data) {
    FileRun run;
    dir.Write("plain", data);
    clsBlowfish cipher(&run.sink);
    std::u16string in = dir.U16("plain"), out = dir.U16("sealed"), key = kKey;
    run.done = cipher.EncryptFile(in, out, true, key);
    run.bytes = dir.Read("sealed");
    return run;
}

FileRun DecryptThroughFile(testsupport::TempDir& dir) {
    FileRun run;
    clsBlowfish cipher(&run.sink);
    std::u16string in = dir.U16("sealed"), out = dir.U16("opened"), key = kKey;
    run.done = cipher.DecryptFile(in, out, true, key);
    if (run.done) run.bytes = dir.Read("opened");
    return run;
}

TEST(FileStream, EveryAlignmentGivesTheByteArrayContainerAndReports) {
    testsupport::TempDir dir;
    for (const std::size_t D : Sizes()) {
        SCOPED_TRACE(testing::Message() << D << " data bytes");
        const ByteArray data = RandomBytes(D, static_cast<std::uint32_t>(D));

        const FileRun sealed = EncryptThroughFile(dir, data);
        ASSERT_TRUE(sealed.done);
        // The byte-array operation on the same data: same length, same reports.
        RecordingSink byteSink;
        ByteArray container = data;
        clsBlowfish(&byteSink).EncryptByte(container, kKey);
        ASSERT_EQ(sealed.bytes.size(), container.size());
        EXPECT_EQ(sealed.sink.reported, byteSink.reported);
        EXPECT_EQ(sealed.sink.texts, byteSink.texts);

        // Deciphered block by block: the size descriptor, the data and zero
        // padding, as the byte-array container has them.
        clsBlowfish keyed;
        keyed.Key(kKey);
        const ByteArray plain = testsupport::ChainDecrypt(keyed, sealed.bytes);
        EXPECT_EQ(cipher::LoadLittle(plain.data() + 8), D);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), plain.begin() + 12));
        EXPECT_TRUE(std::all_of(plain.begin() + 12 + static_cast<std::ptrdiff_t>(D), plain.end(),
                                [](std::uint8_t b) { return b == 0; }));

        // Decrypted on one thread and on several: the same data and the
        // same reports as the byte-array operation on one thread.
        RecordingSink byteDecryptSink;
        {
            const cipher::ThreadShare one(1);
            ByteArray copy = sealed.bytes;
            ASSERT_TRUE(clsBlowfish(&byteDecryptSink).DecryptByte(copy, kKey));
        }
        for (const std::size_t threads : {1, 2, 7}) {
            SCOPED_TRACE(testing::Message() << threads << " threads");
            const cipher::ThreadShare share(threads);
            const FileRun opened = DecryptThroughFile(dir);
            ASSERT_TRUE(opened.done);
            EXPECT_EQ(opened.bytes, data);
            EXPECT_EQ(opened.sink.reported, byteDecryptSink.reported);
            EXPECT_EQ(opened.sink.texts, byteDecryptSink.texts);
            RecordingSink sink;
            ByteArray copy = sealed.bytes;
            ASSERT_TRUE(clsBlowfish(&sink).DecryptByte(copy, kKey));
            EXPECT_EQ(copy, data);
            EXPECT_EQ(sink.reported, byteDecryptSink.reported);
            EXPECT_EQ(sink.texts, byteDecryptSink.texts);
        }
    }
}

// Wrong passwords and damaged lengths leave the same deciphered bytes and
// the same reports on any number of threads.
TEST(FileStream, FailedDecryptionIsTheSameOnAnyNumberOfThreads) {
    for (const std::size_t N : {2 * kChunk + 16, 2 * kChunk + 21, 3 * kChunk + 8}) {
        SCOPED_TRACE(testing::Message() << N << " bytes");
        const ByteArray noise = RandomBytes(N, static_cast<std::uint32_t>(N));
        std::vector<ByteArray> results;
        std::vector<std::vector<std::int32_t>> reports;
        for (const std::size_t threads : {1, 2, 7}) {
            const cipher::ThreadShare share(threads);
            RecordingSink sink;
            ByteArray copy = noise;
            EXPECT_FALSE(clsBlowfish(&sink).DecryptByte(copy, kKey));
            results.push_back(copy);
            reports.push_back(sink.reported);
        }
        EXPECT_EQ(results[1], results[0]);
        EXPECT_EQ(results[2], results[0]);
        EXPECT_EQ(reports[1], reports[0]);
        EXPECT_EQ(reports[2], reports[0]);
    }
}

// A wrong password is found from the first two blocks: nothing is written,
// and the status shows only the start, not a run through the whole file.
TEST(FileStream, WrongPasswordIsFoundBeforeTheBulkOfTheFile) {
    testsupport::TempDir dir;
    ASSERT_TRUE(EncryptThroughFile(dir, RandomBytes(3 * kChunk, 5)).done);
    RecordingSink sink;
    clsBlowfish cipher(&sink);
    std::u16string in = dir.U16("sealed"), out = dir.U16("opened"), key = u"not the key";
    EXPECT_FALSE(cipher.DecryptFile(in, out, true, key));
    EXPECT_EQ(cipher.LastError().failure, cipher::FileFailure::WrongPassword);
    EXPECT_FALSE(dir.Exists("opened"));
    EXPECT_EQ(sink.reported, std::vector<std::int32_t>{0});
    EXPECT_EQ(dir.Entries(), (std::set<std::string>{"plain", "sealed"}));
}

// Bytes this process has read so far (all threads), from the kernel's count.
std::uint64_t BytesReadByProcess() {
    std::ifstream io("/proc/self/io");
    std::string field;
    std::uint64_t value = 0;
    while (io >> field >> value) {
        if (field == "rchar:") return value;
    }
    return 0;
}

// The first progress report, which shows the status window's text, comes
// before the bulk of the file is read, in both directions.
TEST(FileStream, FirstReportComesBeforeTheBulkOfTheFile) {
    testsupport::TempDir dir;
    constexpr std::size_t kSize = 64 << 20;
    ASSERT_TRUE(EncryptThroughFile(dir, ByteArray(kSize, 0x5a)).done);
    for (const bool encrypt : {true, false}) {
        SCOPED_TRACE(encrypt ? "encrypting" : "decrypting");
        RecordingSink sink;
        std::uint64_t readAtFirstReport = 0;
        sink.adjust = [&](std::int32_t&) {
            if (readAtFirstReport == 0) readAtFirstReport = BytesReadByProcess();
        };
        clsBlowfish cipher(&sink);
        std::u16string in = dir.U16(encrypt ? "plain" : "sealed"), out = dir.U16("out");
        std::u16string key = kKey;
        const std::uint64_t before = BytesReadByProcess();
        ASSERT_TRUE(encrypt ? cipher.EncryptFile(in, out, true, key)
                            : cipher.DecryptFile(in, out, true, key));
        ASSERT_GT(readAtFirstReport, 0u);
        EXPECT_LT(readAtFirstReport - before, 2u << 20);
        EXPECT_GE(BytesReadByProcess() - before, kSize) << "the count misses reads";
    }
}

}  // namespace
