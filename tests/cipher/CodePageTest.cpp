#include <gtest/gtest.h>

#include <map>
#include <string>

#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"

namespace {

// Windows-1252 where it differs from Latin-1; the five unassigned bytes keep
// the control character of the same number.
const std::map<std::uint8_t, char16_t> kHighControls = {
    {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026},
    {0x86, 0x2020}, {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160}, {0x8B, 0x2039},
    {0x8C, 0x0152}, {0x8D, 0x008D}, {0x8E, 0x017D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x91, 0x2018},
    {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014},
    {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153}, {0x9D, 0x009D},
    {0x9E, 0x017E}, {0x9F, 0x0178}};

char16_t ExpectedChar(int b) {
    const auto it = kHighControls.find(static_cast<std::uint8_t>(b));
    return it != kHighControls.end() ? it->second : static_cast<char16_t>(b);
}

TEST(CodePageTest, EveryByteMapsToItsCharacterAndBack) {
    cipher::codepage::ByteArray all;
    std::u16string expectedText;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        EXPECT_EQ(cipher::codepage::ToChar(byte), ExpectedChar(b)) << "byte " << b;
        EXPECT_EQ(cipher::codepage::ToByte(ExpectedChar(b)), std::optional<std::uint8_t>(byte))
            << "byte " << b;
        all.push_back(byte);
        expectedText += ExpectedChar(b);
    }
    const std::u16string text = cipher::codepage::BytesToText(all);
    EXPECT_EQ(text, expectedText);
    EXPECT_EQ(cipher::codepage::TextToBytes(text), all);
}

TEST(CodePageTest, CharactersOutsideTheCodePageAreRefused) {
    // The C1 controls whose bytes carry Windows-1252 characters, and
    // characters beyond the code page, a lone surrogate among them.
    for (char16_t c : {u'\u0080', u'\u0082', u'\u009F', u'\u0100', u'\u0400', u'\u20AD', u'\u4E16',
                       char16_t{0xD83D}, u'\uFFFD', u'\uFFFF'}) {
        EXPECT_FALSE(cipher::codepage::ToByte(c).has_value()) << static_cast<int>(c);
        try {
            cipher::codepage::TextToBytes(std::u16string(u"ok") + c + u"ok");
            ADD_FAILURE() << "no error for " << static_cast<int>(c);
        } catch (const cipher::UnrepresentableTextError& e) {
            EXPECT_EQ(e.Character(), c);
        }
    }
}

TEST(CodePageTest, ACharacterBeyondSixteenBitsIsReportedWhole) {
    const std::u16string text = u"ok \U0001F600 ok";
    try {
        cipher::codepage::TextToBytes(text);
        ADD_FAILURE() << "no error";
    } catch (const cipher::UnrepresentableTextError& e) {
        EXPECT_EQ(e.CodePoint(), U'\U0001F600');
        EXPECT_EQ(e.Character(), char16_t{0xD83D});
    }
    EXPECT_EQ(cipher::codepage::FirstUnrepresentable(text), U'\U0001F600');
    // A lone surrogate is a character of its own; a fitting text has none.
    EXPECT_EQ(cipher::codepage::FirstUnrepresentable(u"a\u00E9\u20AC" + std::u16string(1, 0xDC00)),
              U'\xDC00');
    EXPECT_EQ(cipher::codepage::FirstUnrepresentable(u"a\u00E9\u20AC\u0178"), std::nullopt);
}

TEST(CodePageTest, EmptyTextAndNulCharactersConvert) {
    EXPECT_TRUE(cipher::codepage::TextToBytes(u"").empty());
    EXPECT_TRUE(cipher::codepage::BytesToText(cipher::codepage::ByteArray{}).empty());
    const std::u16string withNul(u"a\0b", 3);
    EXPECT_EQ(cipher::codepage::TextToBytes(withNul), (cipher::codepage::ByteArray{'a', 0, 'b'}));
    EXPECT_EQ(cipher::codepage::BytesToText(cipher::codepage::ByteArray{'a', 0, 'b'}), withNul);
}

}  // namespace
