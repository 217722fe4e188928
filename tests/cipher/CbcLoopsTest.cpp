#include <gtest/gtest.h>

#include "cipher/CbcLoops.h"
#include "tests/cipher/CipherTestSupport.h"
#include "tests/cipher/TestAccess.h"

namespace {

using testsupport::ByteArray;
using testsupport::RandomBytes;

using RunFunction = void (*)(const cipher::Tables&, std::uint8_t*, std::size_t, cipher::Chain&);

// Runs a loop over the data in pieces of `piece` bytes, carrying the chain.
ByteArray InPieces(RunFunction run, const cipher::Tables& t, ByteArray data, std::size_t piece) {
    cipher::Chain chain;
    for (std::size_t o = 0; o < data.size(); o += piece) {
        run(t, data.data() + o, std::min(piece, data.size() - o), chain);
    }
    return data;
}

// The fast loops (the ones this processor gets) and the portable ones must
// both equal chaining done one block at a time through the block operations,
// whatever the length (around the interleave width) and however the data is
// split into runs.
TEST(CbcLoopsTest, EveryLoopEqualsBlockByBlockChaining) {
    clsBlowfish keyed;
    keyed.Key(u"loop key");
    const cipher::Tables& t = clsBlowfishTestAccess::RawTables(keyed);
    for (std::size_t blocks : {1, 7, 8, 9, 15, 16, 17, 63, 64, 65, 200}) {
        const ByteArray plain = RandomBytes(8 * blocks, static_cast<std::uint32_t>(blocks));
        const ByteArray expected = testsupport::ChainEncrypt(keyed, plain);
        for (std::size_t piece : {std::size_t{8}, std::size_t{24}, std::size_t{64}, 8 * blocks}) {
            SCOPED_TRACE(testing::Message() << blocks << " blocks in pieces of " << piece);
            EXPECT_EQ(InPieces(cipher::EncryptRun, t, plain, piece), expected);
            EXPECT_EQ(InPieces(cipher::EncryptRunPortable, t, plain, piece), expected);
            EXPECT_EQ(InPieces(cipher::DecryptRun, t, expected, piece), plain);
            EXPECT_EQ(InPieces(cipher::DecryptRunPortable, t, expected, piece), plain);
        }
    }
}

}  // namespace
