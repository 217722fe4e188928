#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cipher/Armor.h"
#include "cipher/Base64Stream.h"
#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/clsBlowfish.h"
#include "tests/cipher/CipherTestSupport.h"

namespace {

using testsupport::ByteArray;
using testsupport::Bytes;
using testsupport::RandomBytes;

// ASCII literal -> text.
std::u16string T(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

class Base64Test : public testing::Test {
protected:
    ByteArray Decode(const std::u16string& text) { return cipher.DecodeArray64(text); }
    std::u16string Encode(const ByteArray& bytes) { return cipher.EncodeArray64(bytes); }

    clsBlowfish cipher;
};

TEST_F(Base64Test, AgreesWithRfc4648VectorsBothWays) {
    const std::pair<const char*, const char*> vectors[] = {
        {"f", "Zg=="},        {"fo", "Zm8="},        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}};
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(Encode(Bytes(plain)), T(encoded)) << plain;
        EXPECT_EQ(Decode(T(encoded)), Bytes(plain)) << encoded;
        EXPECT_EQ(cipher.Encode64(T(plain)), T(encoded));
        EXPECT_EQ(cipher.Decode64(T(encoded)), T(plain));
    }
    // Both ends of the alphabet.
    EXPECT_EQ(Encode({0xFB, 0xFF, 0xBF}), u"+/+/");
    EXPECT_EQ(Decode(u"+/+/"), (ByteArray{0xFB, 0xFF, 0xBF}));
    EXPECT_EQ(Encode({0x00, 0x10, 0x83}), u"ABCD");
    EXPECT_EQ(Encode({0x69, 0xB7, 0x1D, 0x79, 0xF8, 0x21, 0x8A, 0x39, 0x25, 0x9A, 0x7A, 0x29,
                      0xAA, 0xBB, 0x2D, 0xBA, 0xFC, 0x31, 0xCB, 0x30, 0x01, 0x08, 0x31, 0x05,
                      0x18, 0x72, 0x09, 0x28, 0xB3, 0x0D, 0x38, 0xF4, 0x11, 0x49, 0x35, 0x15,
                      0x59, 0x76, 0x19, 0xD3, 0x5D, 0xB7, 0xE3, 0x9E, 0xBB, 0xF3, 0xDF, 0xBF}),
              u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+/");
}

TEST_F(Base64Test, EmptyInputGivesEmptyOutput) {
    EXPECT_EQ(Encode({}), u"");
    EXPECT_EQ(cipher.Encode64(u""), u"");
    EXPECT_EQ(cipher.Decode64(u""), u"");
}

// The unbroken encoding with CR LF after every complete run of 76
// characters, when there is more than one line.
std::u16string BreakLines(const std::u16string& unbroken) {
    if (unbroken.size() <= 76) return unbroken;
    std::u16string text;
    for (std::size_t i = 0; i < unbroken.size(); i += 76) {
        text += unbroken.substr(i, 76);
        if (i + 76 <= unbroken.size()) text += u"\r\n";
    }
    return text;
}

std::u16string WithoutLineBreaks(std::u16string text) {
    std::erase(text, u'\r');
    std::erase(text, u'\n');
    return text;
}

TEST_F(Base64Test, LongOutputIsBrokenIntoLinesOf76) {
    EXPECT_EQ(Encode(RandomBytes(57, 1)).size(), 76u);
    EXPECT_EQ(Encode(RandomBytes(57, 1)).find(u'\r'), std::u16string::npos);

    const std::u16string two = Encode(RandomBytes(58, 2));
    ASSERT_EQ(two.size(), 76u + 2 + 4);
    EXPECT_EQ(two.substr(76, 2), u"\r\n");
    EXPECT_EQ(two.substr(78).find(u'\r'), std::u16string::npos);

    const std::u16string exact = Encode(RandomBytes(114, 3));
    ASSERT_EQ(exact.size(), 2u * 78);
    EXPECT_EQ(exact.substr(76, 2), u"\r\n");
    EXPECT_EQ(exact.substr(154), u"\r\n");

    for (std::size_t n : {1, 56, 57, 58, 113, 114, 115, 171, 1000, 4096, 100000}) {
        SCOPED_TRACE(n);
        const ByteArray bytes = RandomBytes(n, static_cast<std::uint32_t>(n));
        const std::u16string text = Encode(bytes);
        const std::u16string unbroken = WithoutLineBreaks(text);
        EXPECT_EQ(unbroken.size(), (n + 2) / 3 * 4);
        EXPECT_EQ(text, BreakLines(unbroken));
        EXPECT_EQ(Decode(text), bytes);
        EXPECT_EQ(Decode(unbroken), bytes);
    }
}

TEST_F(Base64Test, EveryByteValueRoundTrips) {
    ByteArray all(256);
    for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
    for (std::size_t drop = 0; drop < 3; ++drop) {
        const ByteArray bytes(all.begin() + drop, all.end());
        EXPECT_EQ(Decode(Encode(bytes)), bytes);
    }
}

TEST_F(Base64Test, CrLfPairsAreIgnoredAnywhere) {
    for (const char* text : {"\r\nZm9vYmE=", "Zm\r\n9vYmE=", "Zm9v\r\nYmE=", "Zm9vYm\r\nE=",
                             "Zm9vYmE\r\n=", "Zm9vYmE=\r\n", "\r\n\r\nZm9vYmE=\r\n\r\n"}) {
        EXPECT_EQ(Decode(T(text)), Bytes("fooba")) << testing::PrintToString(text);
    }
}

TEST_F(Base64Test, OtherCharactersCountAsZeroAndKeepTheirPlace) {
    const ByteArray expected = {'f', 'o', 'o', 0, 0, 0};
    for (const char* text : {"Zm9v AAA", "Zm9vA\tAA", "Zm9vAA*~", "Zm9v\vA\fA"}) {
        EXPECT_EQ(Decode(T(text)), expected) << testing::PrintToString(text);
    }
    // A space shifts everything after it.
    EXPECT_EQ(Decode(u" Zm9v").size(), 3u);
    EXPECT_NE(Decode(u" Zm9vYmFy"), Bytes("foobar"));
}

// Text that went through tools which drop or keep the CR of a line break:
// a CR or an LF on its own is skipped exactly like a CR LF pair, wherever it
// stands, in groups that take the fast path and in those that do not.
TEST_F(Base64Test, LoneCrAndLoneLfAreSkippedLikePairs) {
    const ByteArray bytes = RandomBytes(300, 7);
    const std::u16string crLf = Encode(bytes);
    ASSERT_NE(crLf.find(u"\r\n"), std::u16string::npos);
    std::u16string lfOnly = crLf, crOnly = crLf;
    std::erase(lfOnly, u'\r');
    std::erase(crOnly, u'\n');
    EXPECT_EQ(Decode(lfOnly), bytes);
    EXPECT_EQ(Decode(crOnly), bytes);
    EXPECT_EQ(Decode(crLf + u"\r"), bytes) << "$(cat file) keeps a trailing CR";

    const std::pair<const char*, const char*> cases[] = {
        {"\nZm9vYmFy", "foobar"},
        {"Zm9v\nYmFy", "foobar"},
        {"Zm\r9vYmFy", "foobar"},
        {"Zm9vYmF\ny", "foobar"},
        {"Zm9vYmFy\n\n", "foobar"},
        {"Zm9v\n\rYmFy", "foobar"},
        {"Zm9v\r\r\nYmFy", "foobar"},
        {"Zm9vYm\r=\nFy", "foobar"},  // no pair around "="
        {"Z\nm\r9\nv\rY\nm\rF\ny\r", "foobar"},
        // Fewer than eight characters: the test of one group at a time.
        {"Zm9\rv", "foo"},
        {"Zm9\nvYm", "foob"}};
    for (const auto& [text, plain] : cases) {
        EXPECT_EQ(Decode(T(text)), Bytes(plain)) << testing::PrintToString(text);
    }
}

TEST_F(Base64Test, EqualsSignsAreIgnoredAnywhere) {
    EXPECT_EQ(Decode(u"Zg"), Bytes("f"));
    EXPECT_EQ(Decode(u"Z=g="), Bytes("f"));
    EXPECT_EQ(Decode(u"Zm9vYg"), Bytes("foob"));
    EXPECT_EQ(Decode(u"Zm9vYmE"), Bytes("fooba"));
    EXPECT_EQ(Decode(u"==Zm9v=YmE======"), Bytes("fooba"));
    EXPECT_EQ(Decode(u"Zm9vYg=="), Decode(u"Zm9vYg===="));
}

TEST_F(Base64Test, CharactersAreReadThroughTheirLowByte) {
    // U+015A has low byte 0x5A ('Z'), U+0141 low byte 0x41 ('A'), U+FF2F low byte '/'.
    EXPECT_EQ(Decode(u"\u015Am9v"), Bytes("foo"));
    EXPECT_EQ(Decode(u"\u0141\u0141\u0141\u0141"), Decode(u"AAAA"));
    EXPECT_EQ(Decode(u"\uFF2F///"), (ByteArray{0xFF, 0xFF, 0xFF}));
    // U+0D0A is neither CR nor LF, and U+013D ('=' in its low byte) is no padding.
    EXPECT_EQ(Decode(u"Zm9v\u0D0A\u013DAA").size(), 6u);
}

TEST_F(Base64Test, NothingLeftToDecodeFails) {
    for (const char* text : {"", "=", "==", "\r\n", "=\r\n=", "\r\n==\r\n", "\n", "\r", "\n=\r"}) {
        EXPECT_THROW(Decode(T(text)), cipher::Base64Error) << testing::PrintToString(text);
    }
    EXPECT_THROW(cipher.Decode64(u"=="), cipher::Base64Error);
    EXPECT_THROW(cipher.Decode64(u"\r\n"), std::out_of_range);
}

TEST_F(Base64Test, TextFormsGoThroughTheCodePage) {
    EXPECT_EQ(cipher.Encode64(u"\u20AC"), u"gA==");
    EXPECT_EQ(cipher.Decode64(u"gA=="), u"\u20AC");
    EXPECT_EQ(cipher.Decode64(u"gY2PkJ0="), u"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_THROW(cipher.Encode64(u"\u20AD"), cipher::UnrepresentableTextError);
}

// Armored input is told from a raw container by its first 64 bytes.
TEST(Armor, OnlyBase64TextAndLineBreaksLookLikeBase64) {
    const std::string line(76, 'Q');
    const std::pair<std::string, bool> cases[] = {
        {"", false},
        {"QUJD", true},
        {"\r\n" + line + "=\r\n", true},
        {line + " " + line, true},                 // beyond the probe: not looked at
        {line.substr(0, 40) + " " + line, false},  // a space within it
        {line.substr(0, 63) + "\x80", false},
    };
    for (const auto& [text, armored] : cases) {
        const ByteArray bytes = Bytes(text);
        EXPECT_EQ(cipher::LooksLikeBase64(bytes.data(), bytes.size()), armored) << text;
    }
}

}  // namespace

namespace {

// The streaming codec against the whole-text one: text cut in two at every
// offset of its first lines decodes to the same bytes, and bytes given in
// two pieces cut anywhere encode to the same text.
TEST_F(Base64Test, PiecesCutAnywhereGiveTheWholeResult) {
    // Lines with CR LF, a lone CR and LF, padding inside and at the end,
    // ignored characters and bytes whose code page character reads as a
    // letter through its low byte (0x8C stands for U+0152, read as "R").
    std::string text;
    const std::u16string encoded = Encode(RandomBytes(120, 9));
    for (char16_t c : encoded) text += static_cast<char>(c);
    text.insert(30, "\r");
    text.insert(50, "\n=");
    text.insert(70, " \t\x8C\xFF=\r=\n");
    text += "A=\r\n";
    const ByteArray bytes(text.begin(), text.end());
    for (std::size_t end : {text.size(), text.size() - 4, text.size() - 5}) {
        const ByteArray whole(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(end));
        const ByteArray expected = Decode(cipher::codepage::BytesToText(whole));
        for (std::size_t cut = 0; cut <= std::min<std::size_t>(end, 170); ++cut) {
            SCOPED_TRACE(testing::Message() << end << " characters cut at " << cut);
            cipher::Base64Decoder decoder;
            ByteArray out(cipher::Base64Decoder::Room(end) + 3);
            std::size_t n = decoder.Decode(whole.data(), cut, out.data());
            n += decoder.Decode(whole.data() + cut, end - cut, out.data() + n);
            n += decoder.Finish(out.data() + n);
            out.resize(n);
            EXPECT_EQ(out, expected);
            EXPECT_EQ(cipher::Base64Decoder::DecodedLength(decoder.Characters()), n);
            EXPECT_EQ(cipher::Base64Decoder::Count(whole.data(), end), decoder.Characters());
        }
    }
    for (std::size_t size : {0u, 1u, 2u, 56u, 57u, 58u, 114u, 115u, 200u}) {
        const ByteArray data = RandomBytes(size, static_cast<std::uint32_t>(size));
        const std::u16string expected = Encode(data);
        for (std::size_t cut = 0; cut <= size; ++cut) {
            SCOPED_TRACE(testing::Message() << size << " bytes cut at " << cut);
            cipher::Base64Encoder encoder(size);
            ByteArray out(2 * cipher::Base64Encoder::Room(size) + 6);
            std::size_t n = encoder.Encode(data.data(), cut, out.data());
            n += encoder.Encode(data.data() + cut, size - cut, out.data() + n);
            n += encoder.Finish(out.data() + n);
            EXPECT_EQ(std::u16string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n)),
                      expected);
        }
    }
}

}  // namespace
