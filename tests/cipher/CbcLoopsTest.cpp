#include <gtest/gtest.h>

#include <type_traits>

#include "cipher/CbcLoops.h"
#include "tests/cipher/CipherTestSupport.h"
#include "tests/cipher/TestAccess.h"

namespace {

using testsupport::ByteArray;
using testsupport::RandomBytes;

using EncryptFunction = void (*)(const cipher::Tables&, std::uint8_t*, std::size_t, cipher::Chain&);
using DecryptFunction = void (*)(const cipher::Tables&, std::uint8_t*, std::size_t, cipher::Chain&,
                                 std::size_t);

const clsBlowfish& Keyed() {
    static clsBlowfish keyed;
    static const bool once = (keyed.Key(u"loop key"), true);
    static_cast<void>(once);
    return keyed;
}

const cipher::Tables& Tables() {
    return clsBlowfishTestAccess::RawTables(Keyed());
}

// Runs a loop over data[from, end) in pieces of `piece` bytes, carrying the
// chain; decryption writes each block `shift` bytes further to the front.
template <typename Run>
void InPieces(Run run, ByteArray& data, std::size_t from, std::size_t piece, cipher::Chain& chain,
              std::size_t shift = 0) {
    for (std::size_t o = from; o < data.size(); o += piece) {
        const std::size_t n = std::min(piece, data.size() - o);
        if constexpr (std::is_same_v<Run, EncryptFunction>) {
            run(Tables(), data.data() + o, n, chain);
        } else {
            run(Tables(), data.data() + o, n, chain, shift);
        }
    }
}

// The fast loops (the ones this processor gets) and the portable ones must
// both equal chaining done one block at a time through the block operations,
// whatever the length (around the interleave width) and however the data is
// split into runs.
TEST(CbcLoopsTest, EveryLoopEqualsBlockByBlockChaining) {
    for (std::size_t blocks : {1, 7, 8, 9, 15, 16, 17, 63, 64, 65, 200}) {
        const ByteArray plain = RandomBytes(8 * blocks, static_cast<std::uint32_t>(blocks));
        const ByteArray expected = testsupport::ChainEncrypt(Keyed(), plain);
        for (std::size_t piece : {std::size_t{8}, std::size_t{24}, std::size_t{64}, 8 * blocks}) {
            SCOPED_TRACE(testing::Message() << blocks << " blocks in pieces of " << piece);
            for (EncryptFunction encrypt : {cipher::EncryptRun, cipher::EncryptRunPortable}) {
                ByteArray data = plain;
                cipher::Chain chain;
                InPieces(encrypt, data, 0, piece, chain);
                EXPECT_EQ(data, expected);
            }
            for (DecryptFunction decrypt : {cipher::DecryptRun, cipher::DecryptRunPortable}) {
                ByteArray data = expected;
                cipher::Chain chain;
                InPieces(decrypt, data, 0, piece, chain);
                EXPECT_EQ(data, plain);
            }
        }
    }
}

// Decryption that moves its output 12 bytes to the front (after two blocks
// deciphered in place) leaves the plaintext from byte 16 on at byte 4.
TEST(CbcLoopsTest, ShiftedDecryptionMovesThePlaintextToTheFront) {
    for (std::size_t blocks : {3, 9, 10, 17, 66, 130}) {
        const ByteArray plain = RandomBytes(8 * blocks, static_cast<std::uint32_t>(blocks));
        const ByteArray cipherText = testsupport::ChainEncrypt(Keyed(), plain);
        for (std::size_t piece : {std::size_t{8}, std::size_t{40}, 8 * blocks}) {
            SCOPED_TRACE(testing::Message() << blocks << " blocks in pieces of " << piece);
            for (DecryptFunction decrypt : {cipher::DecryptRun, cipher::DecryptRunPortable}) {
                ByteArray data = cipherText;
                cipher::Chain chain;
                decrypt(Tables(), data.data(), 16, chain, 0);
                InPieces(decrypt, data, 16, piece, chain, 12);
                const std::size_t n = data.size();
                EXPECT_EQ(ByteArray(data.begin() + 4, data.end() - 12),
                          ByteArray(plain.begin() + 16, plain.end()));
                // Behind it, the ciphertext that no block was written over.
                const std::size_t untouched = std::max<std::size_t>(16, n - 12);
                EXPECT_EQ(ByteArray(data.begin() + untouched, data.end()),
                          ByteArray(cipherText.begin() + untouched, cipherText.end()));
            }
        }
    }
}

}  // namespace
