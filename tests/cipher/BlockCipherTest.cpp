#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <new>
#include <random>
#include <sstream>
#include <string>

#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/PiWords.h"
#include "cipher/clsBlowfish.h"
#include "tests/cipher/CipherTestSupport.h"
#include "tests/cipher/TestAccess.h"

namespace {

using Access = clsBlowfishTestAccess;
using Layout = clsBlowfish::TableLayout;
using cipher::kPiWords;
using testsupport::FromHex;
using testsupport::ReadBigEndian;

struct Block {
    std::uint32_t L, R;
    bool operator==(const Block&) const = default;
};

Block Encrypt(const clsBlowfish& cipher, Block b) {
    Access::EncryptBlock(cipher, b.L, b.R);
    return b;
}

Block Decrypt(const clsBlowfish& cipher, Block b) {
    Access::DecryptBlock(cipher, b.L, b.R);
    return b;
}

std::vector<std::uint32_t> TablesForKey(const std::u16string& key) {
    clsBlowfish cipher;
    cipher.Key(key);
    return Access::Tables(cipher);
}

std::vector<std::uint32_t> InitialTables() {
    clsBlowfish cipher;
    return Access::Tables(cipher);
}

TEST(BlockCipherTest, InitialTablesDealThePiWordsRoundRobin) {
    clsBlowfish cipher;
    struct Anchor {
        int box, entry;
        std::uint32_t value;
    };
    for (const Anchor& a :
         {Anchor{0, 0, 0xD1310BA6}, Anchor{1, 0, 0x98DFB5AC}, Anchor{2, 0, 0x2FFD72DB},
          Anchor{3, 0, 0xD01ADFB7}, Anchor{0, 1, 0xB8E1AFED}, Anchor{1, 1, 0x6A267E96},
          Anchor{0, 255, 0xB74E6132}, Anchor{1, 255, 0xCE77E25B}, Anchor{2, 255, 0x578FDFE3},
          Anchor{3, 255, 0x3AC372E6}}) {
        EXPECT_EQ(Access::S(cipher, a.box, a.entry), a.value)
            << "S[" << a.box << "][" << a.entry << "]";
    }
    EXPECT_EQ(Access::P(cipher, 0), 0x243F6A88u);
    EXPECT_EQ(Access::P(cipher, 1), 0x85A308D3u);
    EXPECT_EQ(Access::P(cipher, 17), 0x8979FB1Bu);

    ASSERT_EQ(kPiWords[2], 0x13198A2Eu);
    ASSERT_EQ(kPiWords[1041], 0x3AC372E6u);
    for (int i = 0; i < 18; ++i) EXPECT_EQ(Access::P(cipher, i), kPiWords[i]) << "P[" << i << "]";
    for (int b = 0; b < 4; ++b) {
        for (int e = 0; e < 256; ++e) {
            ASSERT_EQ(Access::S(cipher, b, e), kPiWords[18 + 4 * e + b])
                << "S[" << b << "][" << e << "]";
        }
    }
}

TEST(BlockCipherTest, InitialTablesGiveTheKnownRoundFunctionAndBlock) {
    clsBlowfish cipher;
    EXPECT_EQ(Access::RoundFunction(cipher, 0), 0x16089340u);

    const Block zero{0, 0};
    const Block expected{0xF155B7CF, 0xC1E56C7B};
    EXPECT_EQ(Encrypt(cipher, zero), expected);
    EXPECT_EQ(Decrypt(cipher, expected), zero);
}

TEST(BlockCipherTest, DecryptBlockInvertsEncryptBlockBothWays) {
    std::mt19937 generator(7);
    auto next = [&generator] { return static_cast<std::uint32_t>(generator()); };
    for (const std::u16string key : {u"", u"k", u"a longer password 123", u"\u20ACuro"}) {
        clsBlowfish cipher;
        cipher.Key(key);
        for (int i = 0; i < 200; ++i) {
            const Block b{next(), next()};
            const Block encrypted = Encrypt(cipher, b);
            EXPECT_NE(encrypted, b);
            EXPECT_EQ(Decrypt(cipher, encrypted), b);
            EXPECT_EQ(Encrypt(cipher, Decrypt(cipher, b)), b);
        }
    }
}

// One line of the published vectors: key, plaintext, ciphertext in hex.
struct EcbVector {
    std::string key, plain, cipher;
};

std::vector<EcbVector> ReadEcbVectors() {
    std::ifstream in(QUILLBOX_TEST_DATA_DIR "/blowfish_ecb_vectors.txt");
    std::vector<EcbVector> vectors;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        EcbVector v;
        if (fields >> v.key >> v.plain >> v.cipher) vectors.push_back(v);
    }
    return vectors;
}

TEST(BlockCipherTest, PublishedLayoutReproducesPublishedEcbVectors) {
    const auto vectors = ReadEcbVectors();
    ASSERT_EQ(vectors.size(), 58u) << "test vector file missing or incomplete";
    const clsBlowfish published(nullptr, Layout::Published);
    EXPECT_EQ(Access::S(published, 0, 1), 0x98DFB5ACu);
    EXPECT_EQ(Access::S(published, 1, 0), 0x4B7A70E9u);
    for (const EcbVector& v : vectors) {
        SCOPED_TRACE("key " + v.key + " plaintext " + v.plain);
        clsBlowfish cipher(nullptr, Layout::Published);
        // Every byte value is one character of the code page, so the key
        // bytes reach the schedule unchanged.
        cipher.Key(cipher::codepage::BytesToText(FromHex(v.key)));
        const auto plain = FromHex(v.plain);
        const auto expected = FromHex(v.cipher);
        const Block in{ReadBigEndian(&plain[0]), ReadBigEndian(&plain[4])};
        const Block out{ReadBigEndian(&expected[0]), ReadBigEndian(&expected[4])};
        EXPECT_EQ(Encrypt(cipher, in), out);
        EXPECT_EQ(Decrypt(cipher, out), in);
    }
}

TEST(BlockCipherTest, KeyBytesAreUsedCyclicallyUpToSeventyTwo) {
    EXPECT_EQ(TablesForKey(u"abc"), TablesForKey(u"abcabc"));
    EXPECT_EQ(
        TablesForKey(u"abc"),
        TablesForKey(u"abcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabc"));

    std::u16string key72;
    for (int i = 0; i < 72; ++i) key72 += static_cast<char16_t>(u'!' + i);
    EXPECT_EQ(TablesForKey(key72), TablesForKey(key72 + u"tail beyond seventy-two"));
    // The 72nd byte still counts.
    std::u16string changedLast = key72;
    changedLast.back() = u'~';
    EXPECT_NE(TablesForKey(key72), TablesForKey(changedLast));
    // A cycle that does not divide 72 wraps within a word.
    EXPECT_NE(TablesForKey(u"abcde"), TablesForKey(u"abcdeabcd"));
}

TEST(BlockCipherTest, KeyAssignmentDependsOnlyOnTheNewValue) {
    clsBlowfish cipher;
    cipher.Key(u"secret");
    const auto once = Access::Tables(cipher);
    cipher.Key(u"secret");
    EXPECT_EQ(Access::Tables(cipher), once);
    EXPECT_NE(once, InitialTables());
    EXPECT_NE(once, TablesForKey(u"secreT"));

    cipher.Key(u"other");
    cipher.Key(u"secret");
    EXPECT_EQ(Access::Tables(cipher), once);

    cipher.Key(u"");
    EXPECT_EQ(Access::Tables(cipher), InitialTables());

    cipher.Key(u"secret");
    Access::ResetTables(cipher);
    EXPECT_EQ(Access::Tables(cipher), InitialTables());
}

TEST(BlockCipherTest, KeyCharactersGoThroughTheCodePage) {
    // The euro sign is byte 0x80 of the code page.
    EXPECT_EQ(TablesForKey(u"\u20AC1"),
              TablesForKey(cipher::codepage::BytesToText(FromHex("8031"))));
    // Not the low byte of the character (0xAC).
    EXPECT_NE(TablesForKey(u"\u20AC1"), TablesForKey(u"\u00AC1"));
}

TEST(BlockCipherTest, UnrepresentableKeyIsRefusedAndKeepsTheTables) {
    clsBlowfish cipher;
    cipher.Key(u"before");
    const auto before = Access::Tables(cipher);
    try {
        cipher.Key(u"pass\u4E16word");
        FAIL() << "no cipher::UnrepresentableTextError";
    } catch (const cipher::UnrepresentableTextError& e) {
        EXPECT_EQ(e.Character(), u'\u4E16');
    }
    EXPECT_EQ(Access::Tables(cipher), before);
}

TEST(BlockCipherTest, WordsAreReadAndWrittenBigEndian) {
    clsBlowfish::ByteArray bytes = FromHex("0001020304050607");
    EXPECT_EQ(Access::GetWord(bytes, 0), 0x00010203u);
    EXPECT_EQ(Access::GetWord(bytes, 4), 0x04050607u);
    EXPECT_EQ(Access::GetWord(bytes, 3), 0x03040506u);
    Access::PutWord(bytes, 2, 0xA1B2C3D4);
    EXPECT_EQ(bytes, FromHex("0001A1B2C3D40607"));
}

TEST(BlockCipherTest, DestructionClearsTheKeyedTables) {
    alignas(clsBlowfish) unsigned char storage[sizeof(clsBlowfish)];
    auto* cipher = new (storage) clsBlowfish;
    cipher->Key(u"do not leave me behind");
    const auto keyed = Access::Tables(*cipher);
    const std::ptrdiff_t offset = Access::TablesOffset(*cipher);
    cipher->~clsBlowfish();

    std::size_t survivors = 0;
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        std::uint32_t word;
        std::memcpy(&word, storage + offset + i * sizeof(word), sizeof(word));
        if (word == keyed[i]) ++survivors;
    }
    EXPECT_EQ(survivors, 0u) << "keyed table words left in memory after destruction";
}

}  // namespace
