// When memory runs out while the ciphertext is turned into Base64 text, the
// encoder gives empty text. The string and file operations must report that
// as a failure of its own, never as an empty result or an empty file.

#include <gtest/gtest.h>

#include <string>

#include "cipher/CipherErrors.h"
#include "cipher/clsBlowfish.h"
#include "core/Messages.h"
#include "tests/cipher/AllocationLimit.h"
#include "tests/cipher/CipherTestSupport.h"

namespace {

constexpr std::size_t kSize = 30000;
// Base64 text takes about 2.7 bytes (16-bit characters) per container byte;
// nothing else in an encryption asks for more than twice the data's size.
constexpr std::size_t kRefuseFrom = kSize * 12 / 5;

TEST(EncodingFailure, StringAndFileEncryptionFailWhenBase64CannotBeMade) {
    clsBlowfish cipher;
    const std::u16string input(kSize, u'x');
    std::u16string text = input, key = u"key";
    {
        const AllocationLimit limit(kRefuseFrom);
        EXPECT_THROW(cipher.EncryptString(text, key, true), cipher::Base64EncodingError);
    }
    EXPECT_TRUE(text == input) << "a failed operation keeps its arguments";
    EXPECT_EQ(key, u"key");
    // The same text encrypts once the memory is there.
    EXPECT_FALSE(cipher.EncryptString(text, key, true).empty());

    testsupport::TempDir dir;
    dir.Write("plain.txt", testsupport::RandomBytes(kSize, 3));
    dir.Write("out.b64", testsupport::Bytes("older"));
    std::u16string in = dir.U16("plain.txt"), out = dir.U16("out.b64"), password = u"key";
    const std::size_t refusedBefore = AllocationLimit::Refused();
    bool written = true;
    {
        const AllocationLimit limit(kRefuseFrom);
        written = cipher.EncryptFile(in, out, true, password, true);
    }
    EXPECT_GT(AllocationLimit::Refused(), refusedBefore);
    EXPECT_FALSE(written);
    EXPECT_EQ(cipher.LastError().failure, cipher::FileFailure::Base64EncodingFailed);
    EXPECT_NE(core::messages::ForFile(cipher.LastError()).find("out.b64"), std::string::npos);
    EXPECT_EQ(dir.Read("out.b64"), testsupport::Bytes("older"));
}

}  // namespace
