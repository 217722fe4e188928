#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "cipher/CipherErrors.h"
#include "cipher/clsBlowfish.h"
#include "tests/cipher/CipherTestSupport.h"

namespace {

using testsupport::ByteArray;
using testsupport::ChainDecrypt;
using testsupport::ChainEncrypt;
using testsupport::ExpectedProgress;
using testsupport::PlainContainer;
using testsupport::RandomBytes;
using testsupport::RecordingSink;

std::uint32_t LittleEndianAt(const ByteArray& bytes, std::size_t p) {
    return std::uint32_t{bytes[p]} | (std::uint32_t{bytes[p + 1]} << 8) |
           (std::uint32_t{bytes[p + 2]} << 16) | (std::uint32_t{bytes[p + 3]} << 24);
}

std::size_t ContainerLength(std::size_t dataLength) {
    return (dataLength + 12 + 7) / 8 * 8;
}

// Checks a deciphered container against the data it should carry.
void ExpectContainerLayout(const ByteArray& plain, const ByteArray& data) {
    ASSERT_EQ(plain.size(), ContainerLength(data.size()));
    EXPECT_LT(plain[3], 0x80) << "random word 1 out of range";
    EXPECT_LT(plain[7], 0x80) << "random word 2 out of range";
    EXPECT_EQ(LittleEndianAt(plain, 8), data.size()) << "size descriptor";
    EXPECT_TRUE(std::equal(data.begin(), data.end(), plain.begin() + 12)) << "data bytes";
    for (std::size_t i = 12 + data.size(); i < plain.size(); ++i)
        EXPECT_EQ(plain[i], 0) << "padding at " << i;
}

// Encrypts `data` with the engine and returns the container.
ByteArray EngineEncrypt(ByteArray data, const std::u16string& key,
                        cipher::ProgressSink* sink = nullptr) {
    clsBlowfish cipher(sink);
    cipher.EncryptByte(data, key);
    return data;
}

// A cipher keyed (or not) for the test-side block-at-a-time chaining.
struct Reference {
    explicit Reference(const std::u16string& key) { cipher.Key(key); }
    clsBlowfish cipher;
};

const std::u16string kKeys[] = {u"", u"k", u"correct horse battery staple",
                                u"\u00E9t\u00E9 \u20AC"};

TEST(ContainerTest, SmallContainersAreLaidOutByteForByte) {
    struct Case {
        std::size_t dataLength, total, padding;
    };
    const Reference ref(u"layout");
    for (const Case& c :
         {Case{0, 16, 4}, Case{4, 16, 0}, Case{5, 24, 7}, Case{11, 24, 1}, Case{12, 24, 0}}) {
        SCOPED_TRACE(c.dataLength);
        const ByteArray data = RandomBytes(c.dataLength, 99);
        const ByteArray container = EngineEncrypt(data, u"layout");
        ASSERT_EQ(container.size(), c.total);
        const ByteArray plain = ChainDecrypt(ref.cipher, container);
        ExpectContainerLayout(plain, data);
        EXPECT_EQ(c.total - 12 - c.dataLength, c.padding);
        // Re-enciphering the deciphered blocks gives the container back:
        // big-endian block words, chaining from an all-zero value.
        EXPECT_EQ(ChainEncrypt(ref.cipher, plain), container);
    }

    const ByteArray plain =
        ChainDecrypt(ref.cipher, EngineEncrypt(testsupport::Bytes("abc"), u"layout"));
    EXPECT_EQ(ByteArray(plain.begin() + 8, plain.end()), testsupport::FromHex("0300000061626300"));
}

TEST(ContainerTest, EveryShortLengthRoundTripsAndMatchesBlockAtATimeChaining) {
    for (const std::u16string& key : kKeys) {
        const Reference ref(key);
        for (std::size_t length = 0; length <= 300; ++length) {
            SCOPED_TRACE(testing::Message() << "length " << length << " key size " << key.size());
            const ByteArray data = RandomBytes(length, static_cast<std::uint32_t>(length));

            ByteArray container = EngineEncrypt(data, key);
            ExpectContainerLayout(ChainDecrypt(ref.cipher, container), data);
            clsBlowfish decryptor;
            ASSERT_TRUE(decryptor.DecryptByte(container, key));
            ASSERT_EQ(container, data);

            // A container chained one block at a time decrypts the same way.
            ByteArray chained =
                ChainEncrypt(ref.cipher, PlainContainer(0x12345678, 0x7FFFFF7F,
                                                        static_cast<std::int32_t>(length), data,
                                                        ContainerLength(length)));
            clsBlowfish second;
            ASSERT_TRUE(second.DecryptByte(chained, key));
            ASSERT_EQ(chained, data);
        }
    }
}

TEST(ContainerTest, LargeArraysRoundTripUnderSeveralKeys) {
    std::uint32_t seed = 1;
    for (const std::u16string& key : kKeys) {
        for (std::size_t length :
             {std::size_t{65533}, std::size_t{1} << 20, std::size_t{1234567}}) {
            SCOPED_TRACE(length);
            const ByteArray data = RandomBytes(length, seed++);
            ByteArray container = EngineEncrypt(data, key);
            const ByteArray plain = ChainDecrypt(Reference(key).cipher, container);
            ExpectContainerLayout(plain, data);

            clsBlowfish decryptor;
            ASSERT_TRUE(decryptor.DecryptByte(container, key));
            EXPECT_TRUE(container == data);
        }
    }
}

TEST(ContainerTest, KeyStaysInForceAfterTheCall) {
    clsBlowfish cipher;
    const ByteArray data = RandomBytes(50, 3);
    ByteArray bytes = data;
    cipher.EncryptByte(bytes, u"kept");
    ASSERT_TRUE(cipher.DecryptByte(bytes));
    EXPECT_EQ(bytes, data);

    // A fresh object with no key at all uses the initial tables.
    ByteArray unkeyed = data;
    clsBlowfish fresh;
    fresh.EncryptByte(unkeyed);
    ExpectContainerLayout(ChainDecrypt(Reference(u"").cipher, unkeyed), data);
    ASSERT_TRUE(clsBlowfish().DecryptByte(unkeyed));
    EXPECT_EQ(unkeyed, data);
}

TEST(ContainerTest, UnrepresentableKeyLeavesTheArrayAlone) {
    const ByteArray data = RandomBytes(20, 4);
    ByteArray bytes = data;
    clsBlowfish cipher;
    EXPECT_THROW(cipher.EncryptByte(bytes, u"\u0100"), cipher::UnrepresentableTextError);
    EXPECT_EQ(bytes, data);
    EXPECT_THROW(cipher.DecryptByte(bytes, u"\u0100"), cipher::UnrepresentableTextError);
    EXPECT_EQ(bytes, data);
}

TEST(ContainerTest, EqualInputsGiveDifferentContainers) {
    const ByteArray data = RandomBytes(40, 5);
    const ByteArray first = EngineEncrypt(data, u"same");
    const ByteArray second = EngineEncrypt(data, u"same");
    EXPECT_NE(first, second);
    const Reference ref(u"same");
    const ByteArray a = ChainDecrypt(ref.cipher, first), b = ChainDecrypt(ref.cipher, second);
    EXPECT_NE(ByteArray(a.begin(), a.begin() + 8), ByteArray(b.begin(), b.begin() + 8));
    EXPECT_EQ(ByteArray(a.begin() + 8, a.end()), ByteArray(b.begin() + 8, b.end()));
}

// True when w is the nearest integer to r * 2147483647 for some
// single-precision r in [0, 1).
bool IsSinglePrecisionRandomWord(std::uint32_t w) {
    float r = static_cast<float>(w / 2147483647.0);
    for (int i = 0; i < 3; ++i) r = std::nextafter(r, 0.0f);
    for (int i = 0; i < 7; ++i, r = std::nextafter(r, 1.0f)) {
        if (r >= 0.0f && r < 1.0f && std::nearbyint(static_cast<double>(r) * 2147483647.0) == w)
            return true;
    }
    return false;
}

TEST(ContainerTest, RandomWordsFollowTheSinglePrecisionRule) {
    const Reference ref(u"");
    std::set<std::uint32_t> seen;
    for (int i = 0; i < 200; ++i) {
        const ByteArray plain = ChainDecrypt(ref.cipher, EngineEncrypt({}, u""));
        for (std::size_t p : {0, 4}) {
            const std::uint32_t word = LittleEndianAt(plain, p);
            EXPECT_LE(word, 2147483519u);
            EXPECT_TRUE(IsSinglePrecisionRandomWord(word)) << word;
            seen.insert(word);
        }
    }
    // 400 draws from 2^24 values: a repeat or two is possible, a stuck
    // generator is not.
    EXPECT_GT(seen.size(), 390u);
}

// Enciphers a container with a chosen size descriptor and returns what the
// engine's DecryptByte makes of it, with the deciphered bytes for comparison.
struct DecryptOutcome {
    bool accepted;
    ByteArray result;
    ByteArray plain;
    std::vector<std::int32_t> progress;
};

DecryptOutcome DecryptWithDescriptor(std::size_t total, std::int32_t sizeDescriptor) {
    const Reference ref(u"bounds");
    // Non-zero filler: the padding is not examined.
    ByteArray filler = RandomBytes(total - 12, static_cast<std::uint32_t>(total));
    ByteArray plain = PlainContainer(0x01020304, 0x05060708, sizeDescriptor, filler, total);
    ByteArray bytes = ChainEncrypt(ref.cipher, plain);
    RecordingSink sink;
    clsBlowfish cipher(&sink);
    const bool accepted = cipher.DecryptByte(bytes, u"bounds");
    return {accepted, bytes, plain, sink.reported};
}

TEST(ContainerTest, SizeDescriptorIsAcceptedExactlyWhenItFitsTheLength) {
    for (std::size_t total :
         {std::size_t{16}, std::size_t{24}, std::size_t{64}, std::size_t{1000}}) {
        const auto n = static_cast<std::int32_t>(total);
        std::vector<std::int32_t> descriptors = {INT32_MIN, -1,     0, n - 20,   n - 19,
                                                 n - 12,    n - 11, n, INT32_MAX};
        for (std::int32_t d = n - 18; d < n - 12; ++d) descriptors.push_back(d);
        for (std::int32_t d : descriptors) {
            SCOPED_TRACE(testing::Message() << "N " << total << " D " << d);
            const DecryptOutcome out = DecryptWithDescriptor(total, d);
            const std::int64_t overhead = std::int64_t{n} - d;
            const bool valid = d >= 0 && overhead >= 12 && overhead <= 19;
            EXPECT_EQ(out.accepted, valid);
            if (valid) {
                EXPECT_EQ(out.result,
                          ByteArray(out.plain.begin() + 12, out.plain.begin() + 12 + d));
                EXPECT_EQ(out.progress, ExpectedProgress(total, total / 8, true));
            } else {
                EXPECT_EQ(out.result, out.plain)
                    << "a rejected container comes back fully deciphered";
                EXPECT_EQ(out.progress, ExpectedProgress(total, total / 8, false));
            }
        }
    }
}

TEST(ContainerTest, WrongKeyLeavesTheFullDecipheredArrayAndNoFinalReport) {
    ByteArray container = EngineEncrypt(RandomBytes(100, 6), u"right");
    const ByteArray expected = ChainDecrypt(Reference(u"wrong").cipher, container);
    RecordingSink sink;
    clsBlowfish cipher(&sink);
    EXPECT_FALSE(cipher.DecryptByte(container, u"wrong"));
    EXPECT_EQ(container, expected);
    EXPECT_EQ(sink.reported, ExpectedProgress(112, 14, false));
}

TEST(ContainerTest, IncompleteInputIsDecipheredUpToTheLastWholeBlock) {
    const Reference ref(u"partial");
    for (std::size_t length : {0, 1, 7, 8, 9, 15, 17, 23, 33, 101}) {
        SCOPED_TRACE(length);
        ByteArray bytes = RandomBytes(length, static_cast<std::uint32_t>(length) + 40);
        const ByteArray expected = ChainDecrypt(ref.cipher, bytes);
        RecordingSink sink;
        clsBlowfish cipher(&sink);
        EXPECT_FALSE(cipher.DecryptByte(bytes, u"partial"));
        EXPECT_EQ(bytes, expected);
        EXPECT_EQ(sink.reported, ExpectedProgress(length, length / 8, false));
    }

    // A valid 16-byte container followed by five stray bytes: the descriptor
    // (4) would fit the length 21, but the incomplete block ends the call.
    ByteArray bytes =
        ChainEncrypt(ref.cipher, PlainContainer(1, 2, 4, testsupport::Bytes("data"), 16));
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5});
    const ByteArray expected = ChainDecrypt(ref.cipher, bytes);
    clsBlowfish cipher;
    EXPECT_FALSE(cipher.DecryptByte(bytes, u"partial"));
    EXPECT_EQ(bytes, expected);
}

TEST(ContainerTest, SixteenByteContainerReportsZeroFiftyHundred) {
    const std::vector<std::int32_t> expected = {0, 50, 100};
    const std::vector<std::u16string> texts = {u"Working... 0%", u"Working... 50%"};

    RecordingSink encrypting;
    ByteArray bytes = EngineEncrypt(testsupport::Bytes("abcd"), u"p", &encrypting);
    EXPECT_EQ(encrypting.reported, expected);
    EXPECT_EQ(encrypting.texts, texts);
    EXPECT_TRUE(encrypting.pumpedAfterEveryText);
    EXPECT_GT(encrypting.pumps, encrypting.pumpsAtLastText);

    RecordingSink decrypting;
    clsBlowfish cipher(&decrypting);
    ASSERT_TRUE(cipher.DecryptByte(bytes, u"p"));
    EXPECT_EQ(decrypting.reported, expected);
    EXPECT_EQ(decrypting.texts, texts);
    EXPECT_GT(decrypting.pumps, decrypting.pumpsAtLastText);
}

std::u16string StatusText(std::int32_t percent) {
    std::u16string text = u"Working... ";
    for (char c : std::to_string(percent)) text += static_cast<char16_t>(c);
    return text + u"%";
}

TEST(ContainerTest, ProgressFollowsTheOneBlockAtATimeRule) {
    // Totals around multiples of 32 and 64 bytes (four and eight blocks),
    // small enough that percentages are skipped and large enough for one
    // report per point.
    std::vector<std::size_t> totals;
    for (std::size_t base :
         {32u, 64u, 96u, 128u, 192u, 256u, 800u, 1024u, 4096u, 65536u, 1u << 20}) {
        for (std::size_t t : {base - 8, base, base + 8}) totals.push_back(t);
    }
    totals.push_back(1000008);
    for (std::size_t total : totals) {
        SCOPED_TRACE(total);
        const std::vector<std::int32_t> expected = ExpectedProgress(total, total / 8, true);
        std::vector<std::u16string> texts;
        for (std::size_t i = 0; i + 1 < expected.size(); ++i)
            texts.push_back(StatusText(expected[i]));

        RecordingSink encrypting;
        ByteArray bytes = EngineEncrypt(RandomBytes(total - 12, 8), u"progress", &encrypting);
        ASSERT_EQ(bytes.size(), total);
        EXPECT_EQ(encrypting.reported, expected);
        EXPECT_EQ(encrypting.texts, texts);
        EXPECT_TRUE(encrypting.pumpedAfterEveryText);

        RecordingSink decrypting;
        clsBlowfish cipher(&decrypting);
        ASSERT_TRUE(cipher.DecryptByte(bytes, u"progress"));
        EXPECT_EQ(decrypting.reported, expected);
        EXPECT_EQ(decrypting.texts, texts);
        EXPECT_TRUE(decrypting.pumpedAfterEveryText);
    }
}

TEST(ContainerTest, SubscriberChangesToPercentReachTheTextAndTheFinalTest) {
    const std::size_t total = 4096;
    RecordingSink constant;
    constant.adjust = [](std::int32_t& percent) { percent = 7; };
    EngineEncrypt(RandomBytes(total - 12, 9), u"x", &constant);
    // The thresholds follow the computed percentages, not the changed ones.
    EXPECT_EQ(constant.reported, ExpectedProgress(total, total / 8, true));
    ASSERT_FALSE(constant.texts.empty());
    EXPECT_EQ(constant.texts.size() + 1, constant.reported.size());
    for (const auto& text : constant.texts) EXPECT_EQ(text, u"Working... 7%");

    // A subscriber that answers 100 suppresses the final report.
    RecordingSink full;
    full.adjust = [](std::int32_t& percent) { percent = 100; };
    EngineEncrypt({}, u"x", &full);
    EXPECT_EQ(full.reported, (std::vector<std::int32_t>{0, 50}));
    EXPECT_EQ(full.texts, (std::vector<std::u16string>{u"Working... 100%", u"Working... 100%"}));
}

}  // namespace
