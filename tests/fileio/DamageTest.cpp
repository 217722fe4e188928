// Wrong passwords and damaged containers. The container has no checksum:
// its only integrity test is that the deciphered size descriptor fits the
// container's length. So a wrong password is refused (with overwhelming
// probability), a damaged length field is refused unless the damage keeps it
// in range, and damage elsewhere goes through as damaged data of the
// recorded length. These tests pin down exactly that and nothing weaker.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "cipher/CipherErrors.h"
#include "cipher/clsBlowfish.h"
#include "tests/fileio/FaultSupport.h"

namespace fileiotest {
namespace {

constexpr std::size_t kBlock = 8;
const std::u16string kPassword = u"correct horse battery";

std::int32_t SizeDescriptor(const Bytes& plainContainer) {
    std::uint32_t d = 0;
    for (int i = 3; i >= 0; --i) d = (d << 8) | plainContainer[8 + i];
    return static_cast<std::int32_t>(d);
}

bool FitsLength(std::int32_t descriptor, std::size_t length) {
    const auto n = static_cast<std::int64_t>(length);
    return descriptor >= 0 && n - descriptor >= 12 && n - descriptor <= 19;
}

// The whole deciphered container, header and padding included. A block of
// zeros appended to a valid container makes its length field wrong, so
// DecryptByte deciphers everything and removes nothing; chaining means the
// extra block does not change how the others decipher.
Bytes Deciphered(clsBlowfish& keyed, const Bytes& container) {
    Bytes extended = container;
    extended.resize(container.size() + kBlock, 0);
    EXPECT_FALSE(keyed.DecryptByte(extended));
    extended.resize(container.size());
    return extended;
}

std::vector<std::size_t> DataLengths() {
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 64; ++n) lengths.push_back(n);
    for (std::size_t n : {100u, 1000u, 4093u, 65539u}) lengths.push_back(n);
    return lengths;
}

// --- Wrong passwords --------------------------------------------------------

const std::u16string kWrongPasswords[] = {u"correct horse batterY",  u"correct horse batter",
                                          u"correct horse battery ", u"c",
                                          u"Correct horse battery",  std::u16string(80, u'w')};

TEST(WrongPassword, DecryptByteRefusesAndKeepsTheLength) {
    std::size_t round = 0;
    for (const std::size_t length : DataLengths()) {
        const Bytes container = Encrypt(RandomBytes(length, length), kPassword);
        for (const auto& wrong : kWrongPasswords) {
            SCOPED_TRACE(testing::Message() << length << " bytes, wrong password #" << round++);
            clsBlowfish cipher;
            Bytes bytes = container;
            EXPECT_FALSE(cipher.DecryptByte(bytes, wrong));
            EXPECT_EQ(bytes.size(), container.size());
        }
    }
}

TEST(WrongPassword, DecryptStringRefusesAndKeepsItsArguments) {
    for (const std::size_t length : {0u, 1u, 7u, 50u, 300u}) {
        clsBlowfish encryptor;
        std::u16string plain(length, u'q'), key = kPassword;
        const std::u16string base64 = encryptor.EncryptString(plain, key, true);
        for (const auto& wrong : kWrongPasswords) {
            clsBlowfish cipher;
            std::u16string text = base64, password = wrong;
            EXPECT_THROW(cipher.DecryptString(text, password, true), cipher::WrongPasswordError);
            EXPECT_EQ(text, base64);
            EXPECT_EQ(password, wrong);
        }
    }
}

TEST(WrongPassword, DecryptFileRefusesAndWritesNothing) {
    ScratchDir scratch;
    const fs::path source = scratch / "secret.enc";
    const fs::path fresh = scratch / "fresh.txt";
    const fs::path existing = scratch / "existing.txt";
    const Bytes old = RandomBytes(123, 7);
    std::size_t round = 0;
    for (const std::size_t length : DataLengths()) {
        WriteFile(source, Encrypt(RandomBytes(length, length), kPassword));
        WriteFile(existing, old);
        const std::u16string& wrong = kWrongPasswords[round++ % std::size(kWrongPasswords)];
        for (const fs::path& destination : {fresh, existing}) {
            SCOPED_TRACE(testing::Message() << length << " bytes into " << destination);
            const Outcome outcome = Transform(Direction::Decrypt, source, destination, wrong);
            EXPECT_FALSE(outcome.written);
            EXPECT_EQ(outcome.failure, cipher::FileFailure::WrongPassword);
        }
        EXPECT_FALSE(fs::exists(fresh));
        EXPECT_EQ(ReadFile(existing), old);
        EXPECT_EQ(TempFilesIn(scratch.Path()), std::vector<std::string>{});
    }
}

// --- Damaged containers -----------------------------------------------------

// Checks what DecryptByte made of a container whose byte `at` had `mask`
// flipped. `plain` is the undamaged container deciphered. In chaining, the
// damaged block k deciphers to garbage and block k + 1 to its plaintext with
// the same bits flipped; every other block deciphers as before.
void CheckFlip(const Bytes& plain, std::size_t at, std::uint8_t mask, bool accepted,
               const Bytes& result) {
    const std::size_t n = plain.size();
    const std::size_t garbled = at / kBlock;
    Bytes expected = plain;
    if (at + kBlock < n) expected[at + kBlock] ^= mask;
    const auto known = [&](std::size_t i) { return i / kBlock != garbled; };

    if (garbled != 1) {
        // The length field's block deciphers predictably, so the verdict is
        // known in advance.
        EXPECT_EQ(accepted, FitsLength(SizeDescriptor(expected), n));
    }
    if (!accepted) {
        ASSERT_EQ(result.size(), n) << "a refused container must keep its length";
        EXPECT_FALSE(FitsLength(SizeDescriptor(result), n));
        for (std::size_t i = 0; i < n; ++i) {
            if (known(i)) {
                ASSERT_EQ(result[i], expected[i]) << "byte " << i;
            }
        }
        return;
    }
    const auto recorded = static_cast<std::int32_t>(result.size());
    ASSERT_TRUE(FitsLength(recorded, n)) << "data of " << recorded << " bytes from " << n;
    if (garbled != 1) {
        EXPECT_EQ(recorded, SizeDescriptor(expected));
    }
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (known(12 + i)) {
            ASSERT_EQ(result[i], expected[12 + i]) << "data byte " << i;
        }
    }
}

TEST(DamagedContainer, EveryBitFlipIsRefusedOrYieldsDataOfTheRecordedLength) {
    clsBlowfish cipher;
    std::mt19937 random(2024);
    std::size_t accepted = 0, refused = 0, undetected = 0;
    for (const std::size_t length : DataLengths()) {
        Bytes container = RandomBytes(length, static_cast<std::uint32_t>(length) + 1000);
        cipher.EncryptByte(container, kPassword);
        const Bytes plain = Deciphered(cipher, container);
        const std::size_t bits = container.size() * 8;
        // Every bit of small containers, a sample of the large ones.
        const std::size_t flips = std::min<std::size_t>(bits, 400);
        for (std::size_t f = 0; f < flips; ++f) {
            const std::size_t bit = flips == bits ? f : random() % bits;
            const std::size_t at = bit / 8;
            const auto mask = static_cast<std::uint8_t>(1u << (bit % 8));
            SCOPED_TRACE(testing::Message()
                         << length << " data bytes, byte " << at << " mask " << int(mask));
            Bytes damaged = container;
            damaged[at] ^= mask;
            const bool ok = cipher.DecryptByte(damaged);
            CheckFlip(plain, at, mask, ok, damaged);
            if (testing::Test::HasFatalFailure()) return;
            ok ? ++accepted : ++refused;
            // Damage past the length field's block is never noticed.
            if (at >= 2 * kBlock) {
                EXPECT_TRUE(ok);
                EXPECT_EQ(damaged.size(), length);
                ++undetected;
            }
        }
    }
    EXPECT_GT(refused, 0u);
    EXPECT_GT(undetected, 0u);
    RecordProperty("accepted", static_cast<int>(accepted));
    RecordProperty("refused", static_cast<int>(refused));
}

TEST(DamagedContainer, ChangedLengthIsAlwaysRefused) {
    clsBlowfish cipher;
    for (const std::size_t length : {0u, 3u, 4u, 5u, 20u, 100u}) {
        Bytes container = RandomBytes(length, 9);
        cipher.EncryptByte(container, kPassword);
        // Cut or grown by whole blocks the length field no longer fits; any
        // other length is not a whole number of blocks.
        for (std::size_t size = 0; size <= container.size() + 2 * kBlock; ++size) {
            if (size == container.size()) continue;
            SCOPED_TRACE(testing::Message() << length << " data bytes cut to " << size);
            Bytes changed = container;
            changed.resize(size, 0);
            EXPECT_FALSE(cipher.DecryptByte(changed));
            EXPECT_EQ(changed.size(), size);
        }
    }
}

TEST(DamagedContainer, DecryptFileWritesOnlyDataOfTheRecordedLength) {
    ScratchDir scratch;
    const fs::path source = scratch / "damaged.enc";
    const fs::path destination = scratch / "plain.bin";
    const Bytes old = RandomBytes(55, 1);
    std::mt19937 random(77);
    for (int round = 0; round < 200; ++round) {
        const std::size_t length = random() % 300;
        Bytes container = Encrypt(RandomBytes(length, round), kPassword);
        const std::size_t at = random() % container.size();
        container[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        WriteFile(source, container);
        WriteFile(destination, old);
        SCOPED_TRACE(testing::Message() << "round " << round << ", byte " << at);
        const Outcome outcome = Transform(Direction::Decrypt, source, destination, kPassword);
        if (outcome.written) {
            EXPECT_TRUE(FitsLength(static_cast<std::int32_t>(fs::file_size(destination)),
                                   container.size()));
        } else {
            EXPECT_EQ(outcome.failure, cipher::FileFailure::WrongPassword);
            EXPECT_EQ(ReadFile(destination), old);
        }
        if (at >= 2 * kBlock) {
            EXPECT_TRUE(outcome.written) << "damage past the length field goes unnoticed";
            EXPECT_EQ(fs::file_size(destination), length);
        }
        EXPECT_EQ(TempFilesIn(scratch.Path()), std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace fileiotest
