#pragma once

#include <cstdint>

namespace cipher {

// The key-dependent state of the block cipher: 18 subkeys and four
// substitution boxes, kept together so a round reaches every table from one
// base address.
struct alignas(64) Tables {
    std::uint32_t P[18];
    std::uint32_t S[4][256];
};

// Fills t with the pi words. Interleaved deals the 1024 box words to the four
// boxes in turn (the program's own layout); published puts 256 consecutive
// words in each box (textbook Blowfish).
void FillInitialTables(Tables& t, bool interleaved);

inline std::uint32_t F(const Tables& t, std::uint32_t x) {
    return ((t.S[0][x >> 24] + t.S[1][(x >> 16) & 0xFF]) ^ t.S[2][(x >> 8) & 0xFF]) +
           t.S[3][x & 0xFF];
}

// Sixteen rounds in eight pairs, written without the half swaps.
inline void Encipher(const Tables& t, std::uint32_t& L, std::uint32_t& R) {
    std::uint32_t l = L, r = R;
    for (int i = 0; i < 16; i += 2) {
        l ^= t.P[i];
        r ^= F(t, l) ^ t.P[i + 1];
        l ^= F(t, r);
    }
    L = r ^ t.P[17];
    R = l ^ t.P[16];
}

inline void Decipher(const Tables& t, std::uint32_t& L, std::uint32_t& R) {
    std::uint32_t r = L ^ t.P[17];
    std::uint32_t l = R ^ t.P[16];
    for (int i = 14; i >= 0; i -= 2) {
        l ^= F(t, r);
        r ^= t.P[i + 1] ^ F(t, l);
        l ^= t.P[i];
    }
    L = l;
    R = r;
}

}  // namespace cipher
