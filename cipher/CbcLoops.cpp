// The chained block loops. Encryption is bound by the latency of one block,
// so its loop keeps the round chain as short as possible; decryption
// deciphers independent blocks side by side.

#include "cipher/CbcLoops.h"

#include "cipher/ByteOrder.h"

namespace cipher {

namespace {

// Bits 8 to 15 and 16 to 23 of a word: the two round-function indexes that
// take two plain instructions each.
struct PlainExtract {
    static inline std::uint32_t Byte1(std::uint32_t x) { return (x >> 8) & 0xFF; }
    static inline std::uint32_t Byte2(std::uint32_t x) { return (x >> 16) & 0xFF; }
};

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QUILLBOX_X86_BMI 1
// One BEXTR each instead: a single-cycle instruction on the processors that
// have it. Byte 2 is the longest path through a round.
struct BmiExtract {
    // 64-bit operands, so the index needs no zero extension before use.
    static inline std::uint64_t Bits(std::uint64_t x, std::uint64_t control) {
        std::uint64_t b;
        asm("bextr %2, %1, %0" : "=r"(b) : "r"(x), "r"(control));
        return b;
    }
    static inline std::uint64_t Byte1(std::uint32_t x) { return Bits(x, 0x0808); }
    static inline std::uint64_t Byte2(std::uint32_t x) { return Bits(x, 0x0810); }
};
#endif

template <typename Extract>
inline std::uint32_t Round(const Tables& t, std::uint32_t x) {
    return ((t.S[0][x >> 24] + t.S[1][Extract::Byte2(x)]) ^ t.S[2][Extract::Byte1(x)]) +
           t.S[3][x & 0xFF];
}

// The whitening of the block's output (P[17], P[16]) and of the next block's
// input (P[0]) are folded into the chaining, so that only one exclusive or
// separates one block's last round from the next block's first.
template <typename Extract>
inline void EncryptRunWith(const Tables& t, std::uint8_t* p, std::size_t bytes, Chain& chain) {
    std::uint32_t rawL = chain.L ^ t.P[17], rawR = chain.R ^ t.P[16];
    const std::uint32_t inL = t.P[17] ^ t.P[0], inR = t.P[16];
    for (std::uint8_t* const end = p + bytes; p != end; p += 8) {
        std::uint32_t l = rawL ^ (LoadBig(p) ^ inL);
        std::uint32_t r = rawR ^ (LoadBig(p + 4) ^ inR);
        for (int i = 0; i < 16; i += 2) {
            r ^= t.P[i + 1];
            r ^= Round<Extract>(t, l);
            if (i < 14) l ^= t.P[i + 2];
            l ^= Round<Extract>(t, r);
        }
        rawL = r;
        rawR = l;
        StoreBig(p, r ^ t.P[17]);
        StoreBig(p + 4, l ^ t.P[16]);
    }
    chain.L = rawL ^ t.P[17];
    chain.R = rawR ^ t.P[16];
}

// Deciphers Lanes independent blocks side by side, so that the table
// look-ups of one block overlap with those of the others.
template <typename Extract, int Lanes>
inline void DecipherLanes(const Tables& t, std::uint32_t* L, std::uint32_t* R) {
    std::uint32_t l[Lanes], r[Lanes];
    for (int k = 0; k < Lanes; ++k) {
        r[k] = L[k] ^ t.P[17];
        l[k] = R[k] ^ t.P[16];
    }
    for (int i = 14; i >= 0; i -= 2) {
        for (int k = 0; k < Lanes; ++k) l[k] ^= Round<Extract>(t, r[k]);
        for (int k = 0; k < Lanes; ++k) r[k] ^= t.P[i + 1] ^ Round<Extract>(t, l[k]);
        for (int k = 0; k < Lanes; ++k) l[k] ^= t.P[i];
    }
    for (int k = 0; k < Lanes; ++k) {
        L[k] = l[k];
        R[k] = r[k];
    }
}

template <typename Extract>
inline void DecryptRunWith(const Tables& t, std::uint8_t* p, std::size_t bytes, Chain& chain,
                           std::size_t shift) {
    constexpr int kLanes = 8;
    constexpr std::size_t kSpan = kLanes * 8;
    std::uint8_t* const end = p + bytes;
    for (; static_cast<std::size_t>(end - p) >= kSpan; p += kSpan) {
        std::uint32_t xL[kLanes], xR[kLanes], L[kLanes], R[kLanes];
        for (int k = 0; k < kLanes; ++k) {
            L[k] = xL[k] = LoadBig(p + 8 * k);
            R[k] = xR[k] = LoadBig(p + 8 * k + 4);
        }
        DecipherLanes<Extract, kLanes>(t, L, R);
        std::uint8_t* const out = p - shift;
        StoreBig(out, L[0] ^ chain.L);
        StoreBig(out + 4, R[0] ^ chain.R);
        for (int k = 1; k < kLanes; ++k) {
            StoreBig(out + 8 * k, L[k] ^ xL[k - 1]);
            StoreBig(out + 8 * k + 4, R[k] ^ xR[k - 1]);
        }
        chain = Chain{xL[kLanes - 1], xR[kLanes - 1]};
    }
    for (; p != end; p += 8) {
        const Chain x{LoadBig(p), LoadBig(p + 4)};
        std::uint32_t L = x.L, R = x.R;
        Decipher(t, L, R);
        StoreBig(p - shift, L ^ chain.L);
        StoreBig(p - shift + 4, R ^ chain.R);
        chain = x;
    }
}

struct Runs {
    void (*encrypt)(const Tables&, std::uint8_t*, std::size_t, Chain&);
    void (*decrypt)(const Tables&, std::uint8_t*, std::size_t, Chain&, std::size_t);
};

template <typename Extract>
constexpr Runs RunsWith() {
    return {EncryptRunWith<Extract>, DecryptRunWith<Extract>};
}

const Runs& PickRuns() {
#ifdef QUILLBOX_X86_BMI
    static const Runs runs =
        __builtin_cpu_supports("bmi") ? RunsWith<BmiExtract>() : RunsWith<PlainExtract>();
#else
    static const Runs runs = RunsWith<PlainExtract>();
#endif
    return runs;
}

}  // namespace

void EncryptRun(const Tables& t, std::uint8_t* data, std::size_t bytes, Chain& chain) {
    PickRuns().encrypt(t, data, bytes, chain);
}

void DecryptRun(const Tables& t, std::uint8_t* data, std::size_t bytes, Chain& chain,
                std::size_t shift) {
    PickRuns().decrypt(t, data, bytes, chain, shift);
}

void EncryptRunPortable(const Tables& t, std::uint8_t* data, std::size_t bytes, Chain& chain) {
    EncryptRunWith<PlainExtract>(t, data, bytes, chain);
}

void DecryptRunPortable(const Tables& t, std::uint8_t* data, std::size_t bytes, Chain& chain,
                        std::size_t shift) {
    DecryptRunWith<PlainExtract>(t, data, bytes, chain, shift);
}

}  // namespace cipher
