#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cipher/ProgressSink.h"
#include "cipher/clsBlowfish.h"
#include "tests/support/Files.h"

namespace testsupport {

using ByteArray = clsBlowfish::ByteArray;

// "4EF99745" -> {0x4E, 0xF9, 0x97, 0x45}.
ByteArray FromHex(std::string_view hex);

// The ASCII bytes of a string literal, as a byte array.
ByteArray Bytes(std::string_view text);

// Big-endian words, read and written without going through the engine.
std::uint32_t ReadBigEndian(const std::uint8_t* p);
void WriteBigEndian(std::uint8_t* p, std::uint32_t w);

// A container before encipherment: two random words, the size descriptor,
// the data, then zero bytes up to `total`.
ByteArray PlainContainer(std::uint32_t word1, std::uint32_t word2, std::int32_t sizeDescriptor,
                         const ByteArray& data, std::size_t total);

// Chaining with an all-zero starting value, one block at a time through the
// engine's block operations under `cipher`'s current tables. Decryption
// deciphers the whole blocks and leaves a trailing partial block unchanged.
ByteArray ChainEncrypt(const clsBlowfish& cipher, ByteArray plain);
ByteArray ChainDecrypt(const clsBlowfish& cipher, ByteArray container);

// The Progress reports of one EncryptByte or DecryptByte call whose loop
// wrote `blocks` blocks of a `total`-byte array, worked out one block at a
// time from the reporting rule, and the final 100 when `finished`.
std::vector<std::int32_t> ExpectedProgress(std::size_t total, std::size_t blocks, bool finished);

// Records everything the engine reports. `adjust`, when set, may change
// Percent the way a subscriber of the Progress event could.
class RecordingSink : public cipher::ProgressSink {
public:
    void Progress(std::int32_t& Percent) override;
    void SetStatusText(const std::u16string& text) override;
    void PumpEvents() override { ++pumps; }

    std::function<void(std::int32_t&)> adjust;
    std::vector<std::int32_t> reported;  // Percent as the engine passed it
    std::vector<std::u16string> texts;
    std::size_t pumps = 0;
    std::size_t pumpsAtLastText = 0;   // pump count when the last status text came
    bool pumpedAfterEveryText = true;  // no text came before the previous one was pumped
};

}  // namespace testsupport
