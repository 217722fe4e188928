#pragma once

#include <cstddef>
#include <cstdint>

#include "cipher/BlowfishTables.h"

namespace cipher {

// The ciphertext block that precedes the next block of a chain (all zero
// before the first block).
struct Chain {
    std::uint32_t L = 0;
    std::uint32_t R = 0;
};

// Cipher-block chaining over `bytes` bytes (a whole number of 8-byte blocks)
// in place, each block read as two big-endian words. The chain carries on
// from one run to the next. Decryption may write each block `shift` bytes
// before the place it was read from (over ciphertext already consumed).
void EncryptRun(const Tables& t, std::uint8_t* data, std::size_t bytes, Chain& chain);
void DecryptRun(const Tables& t, std::uint8_t* data, std::size_t bytes, Chain& chain,
                std::size_t shift);

// The same loops without processor-specific instructions. EncryptRun and
// DecryptRun use them where the processor offers nothing faster.
void EncryptRunPortable(const Tables& t, std::uint8_t* data, std::size_t bytes, Chain& chain);
void DecryptRunPortable(const Tables& t, std::uint8_t* data, std::size_t bytes, Chain& chain,
                        std::size_t shift);

}  // namespace cipher
