// Many cipher objects used in turn, and many random round trips under random
// keys: no object may disturb another, and no key, length or content may
// break the round trip.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>

#include "cipher/CodePage.h"
#include "cipher/clsBlowfish.h"
#include "tests/fileio/FaultSupport.h"

namespace fileiotest {
namespace {

constexpr int kRoundTrips = 10000;
constexpr std::size_t kObjects = 24;
constexpr std::size_t kMaxLength = 600;

// A random password: every tenth one a single character, every tenth one
// longer than the 72 key bytes the schedule can use, the rest in between.
// Any character of the code page, the control characters included.
std::u16string RandomKey(std::mt19937& random, int round) {
    std::size_t length;
    if (round % 10 == 0) {
        length = 1;
    } else if (round % 10 == 1) {
        length = 73 + random() % 128;
    } else {
        length = 2 + random() % 71;
    }
    std::u16string key;
    for (std::size_t i = 0; i < length; ++i) {
        key.push_back(cipher::codepage::ToChar(static_cast<std::uint8_t>(1 + random() % 255)));
    }
    return key;
}

TEST(EngineLoad, RandomRoundTripsAcrossManyObjects) {
    std::mt19937 random(12345);
    std::vector<std::unique_ptr<clsBlowfish>> objects;
    for (std::size_t i = 0; i < kObjects; ++i) objects.push_back(std::make_unique<clsBlowfish>());

    int mismatches = 0, singleCharacterKeys = 0, longKeys = 0;
    for (int round = 0; round < kRoundTrips; ++round) {
        const std::u16string key = RandomKey(random, round);
        singleCharacterKeys += key.size() == 1;
        longKeys += key.size() > 72;
        const Bytes data = RandomBytes(random() % (kMaxLength + 1), random());

        // One object encrypts, another decrypts; which ones changes every
        // round, so each works on after others have run with other keys.
        clsBlowfish& encryptor = *objects[random() % kObjects];
        clsBlowfish& decryptor = *objects[random() % kObjects];
        Bytes bytes = data;
        encryptor.EncryptByte(bytes, key);
        const bool accepted = decryptor.DecryptByte(bytes, key);
        if (!accepted || bytes != data) {
            if (++mismatches <= 5) {
                ADD_FAILURE() << "round " << round << ": " << data.size() << " bytes, key of "
                              << key.size() << " characters, accepted " << accepted;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(singleCharacterKeys, 0);
    EXPECT_GT(longKeys, 0);
}

// Objects that keep their key between calls: each of several objects is
// keyed once, then all of them are used in an interleaved order without
// passing a key again.
TEST(EngineLoad, KeyedObjectsKeepTheirOwnKeysWhileInterleaved) {
    std::mt19937 random(777);
    std::array<std::u16string, kObjects> keys;
    std::vector<std::unique_ptr<clsBlowfish>> objects;
    for (std::size_t i = 0; i < kObjects; ++i) {
        keys[i] = RandomKey(random, static_cast<int>(i));
        objects.push_back(std::make_unique<clsBlowfish>());
        objects[i]->Key(keys[i]);
    }
    for (int round = 0; round < 2000; ++round) {
        const std::size_t i = random() % kObjects;
        const Bytes data = RandomBytes(random() % 200, round);
        Bytes bytes = data;
        objects[i]->EncryptByte(bytes);
        // A fresh object given the key must read what the long-lived one
        // wrote, and the long-lived one must read it back itself.
        clsBlowfish fresh;
        Bytes copy = bytes;
        ASSERT_TRUE(fresh.DecryptByte(copy, keys[i])) << "round " << round;
        ASSERT_EQ(copy, data) << "round " << round;
        ASSERT_TRUE(objects[i]->DecryptByte(bytes)) << "round " << round;
        ASSERT_EQ(bytes, data) << "round " << round;
    }
}

TEST(EngineLoad, StringRoundTripsThroughBase64) {
    std::mt19937 random(99);
    for (int round = 0; round < 1000; ++round) {
        std::u16string text;
        const std::size_t length = random() % 300;
        for (std::size_t i = 0; i < length; ++i) {
            text.push_back(cipher::codepage::ToChar(static_cast<std::uint8_t>(random())));
        }
        const std::u16string key = RandomKey(random, round);
        clsBlowfish encryptor, decryptor;
        std::u16string input = text, encryptionKey = key, decryptionKey = key;
        std::u16string base64 = encryptor.EncryptString(input, encryptionKey, true);
        ASSERT_EQ(decryptor.DecryptString(base64, decryptionKey, true), text) << "round " << round;
    }
}

}  // namespace
}  // namespace fileiotest
