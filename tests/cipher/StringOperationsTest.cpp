#include <gtest/gtest.h>

#include <string>

#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/clsBlowfish.h"
#include "tests/cipher/CipherTestSupport.h"

namespace {

using testsupport::ByteArray;

std::u16string AllByteValues() {
    ByteArray all(256);
    for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
    return cipher::codepage::BytesToText(all);
}

// Encrypts with a fresh object; the caller's copies are left alone.
std::u16string EncryptCopy(std::u16string text, std::u16string key, bool base64) {
    clsBlowfish cipher;
    return cipher.EncryptString(text, key, base64);
}

std::u16string DecryptCopy(std::u16string text, std::u16string key, bool base64) {
    clsBlowfish cipher;
    return cipher.DecryptString(text, key, base64);
}

TEST(StringOperationsTest, EmptyTextGivesTwentyFourBase64Characters) {
    clsBlowfish cipher;
    std::u16string text, key = u"pw";
    const std::u16string encrypted = cipher.EncryptString(text, key, true);
    ASSERT_EQ(encrypted.size(), 24u);
    EXPECT_EQ(encrypted.substr(22), u"==");
    EXPECT_EQ(cipher.DecodeArray64(encrypted).size(), 16u);
    EXPECT_EQ(DecryptCopy(encrypted, u"pw", true), u"");
}

TEST(StringOperationsTest, RoundTripsInBothModes) {
    const std::u16string texts[] = {u"a", u"Hello, world", u"caf\u00E9 \u20AC\u2122 \u0178",
                                    AllByteValues(), std::u16string(1000, u'x')};
    for (const std::u16string& text : texts) {
        for (bool base64 : {false, true}) {
            SCOPED_TRACE(testing::Message() << "length " << text.size() << " base64 " << base64);
            const std::u16string encrypted = EncryptCopy(text, u"p\u00E4ss", base64);
            const std::size_t container = (text.size() + 12 + 7) / 8 * 8;
            if (base64) {
                std::u16string unbroken = encrypted;
                std::erase(unbroken, u'\r');
                std::erase(unbroken, u'\n');
                EXPECT_EQ(unbroken.size(), (container + 2) / 3 * 4);
                EXPECT_EQ(encrypted.size() - unbroken.size(), unbroken.size() / 76 * 2);
            } else {
                EXPECT_EQ(encrypted.size(), container);
            }
            EXPECT_EQ(DecryptCopy(encrypted, u"p\u00E4ss", base64), text);
        }
    }
}

TEST(StringOperationsTest, CiphertextIsTheContainerOfTheTextsBytes) {
    const std::u16string text = u"na\u00EFve \u20AC";
    const std::u16string raw = EncryptCopy(text, u"key", false);
    ByteArray container = cipher::codepage::TextToBytes(raw);
    clsBlowfish cipher;
    ASSERT_TRUE(cipher.DecryptByte(container, u"key"));
    EXPECT_EQ(container, cipher::codepage::TextToBytes(text));

    ByteArray fromBase64 = cipher.DecodeArray64(EncryptCopy(text, u"key", true));
    ASSERT_TRUE(cipher.DecryptByte(fromBase64, u"key"));
    EXPECT_EQ(fromBase64, cipher::codepage::TextToBytes(text));
}

TEST(StringOperationsTest, SuccessEmptiesKeyAndText) {
    clsBlowfish cipher;
    std::u16string text = u"secret message", key = u"pw";
    std::u16string encrypted = cipher.EncryptString(text, key, true);
    EXPECT_TRUE(text.empty());
    EXPECT_TRUE(key.empty());

    key = u"pw";
    const std::u16string decrypted = cipher.DecryptString(encrypted, key, true);
    EXPECT_EQ(decrypted, u"secret message");
    EXPECT_TRUE(encrypted.empty());
    EXPECT_TRUE(key.empty());
}

TEST(StringOperationsTest, EmptyKeyUsesTheTablesInForce) {
    clsBlowfish cipher;
    cipher.Key(u"earlier");
    std::u16string text = u"data", none;
    const std::u16string encrypted = cipher.EncryptString(text, none, true);
    EXPECT_EQ(DecryptCopy(encrypted, u"earlier", true), u"data");
    EXPECT_THROW(DecryptCopy(encrypted, u"", true), cipher::WrongPasswordError);
}

// Runs a failing string operation and checks that the caller's arguments
// survive it.
template <typename Error>
void ExpectFailureKeepsArguments(bool encrypt, std::u16string text, std::u16string key,
                                 bool base64) {
    const std::u16string textBefore = text, keyBefore = key;
    clsBlowfish cipher;
    if (encrypt) {
        EXPECT_THROW(cipher.EncryptString(text, key, base64), Error);
    } else {
        EXPECT_THROW(cipher.DecryptString(text, key, base64), Error);
    }
    EXPECT_EQ(text, textBefore);
    EXPECT_EQ(key, keyBefore);
}

TEST(StringOperationsTest, FailuresReachTheCallerAndKeepTheArguments) {
    const std::u16string encrypted = EncryptCopy(u"attack at dawn", u"right", true);
    ExpectFailureKeepsArguments<cipher::WrongPasswordError>(false, encrypted, u"wrong", true);
    ExpectFailureKeepsArguments<cipher::WrongPasswordError>(
        false, EncryptCopy(u"x", u"right", false), u"wrong", false);
    ExpectFailureKeepsArguments<cipher::Base64Error>(false, u"==", u"right", true);
    ExpectFailureKeepsArguments<cipher::Base64Error>(false, u"=\r\n=", u"right", true);
    ExpectFailureKeepsArguments<cipher::UnrepresentableTextError>(true, u"snowman \u2603", u"key",
                                                                  true);
    ExpectFailureKeepsArguments<cipher::UnrepresentableTextError>(true, u"text", u"\u2603", false);
    ExpectFailureKeepsArguments<cipher::UnrepresentableTextError>(false, encrypted, u"\u2603",
                                                                  true);
}

TEST(StringOperationsTest, DamagedCiphertextIsNotTakenForText) {
    std::u16string encrypted = EncryptCopy(u"0123456789", u"k", true);
    // Character 14 lies in the second block: deciphering it scrambles the
    // whole block, size descriptor included.
    encrypted[14] = encrypted[14] == u'A' ? u'B' : u'A';
    EXPECT_THROW(DecryptCopy(encrypted, u"k", true), cipher::WrongPasswordError);
}

// An empty input has nothing to decrypt and gives an empty result, like an
// empty text encrypted and decrypted again; it is not taken for a wrong
// password.
TEST(StringOperationsTest, EmptyCiphertextDecryptsToEmptyText) {
    for (bool base64 : {true, false}) {
        clsBlowfish cipher;
        std::u16string text, key = u"pw";
        EXPECT_EQ(cipher.DecryptString(text, key, base64), u"");
        EXPECT_TRUE(key.empty());
    }
}

}  // namespace
