// The chained block loops. Encryption is bound by the latency of one block,
// so its loop keeps the round chain as short as possible; decryption
// deciphers independent blocks side by side.

#include "cipher/CbcLoops.h"

#include "cipher/ByteOrder.h"

namespace cipher {

namespace {

// Bits 16 to 23 of a word: the one index of the round function that takes two
// plain instructions, and so the longest path through a round.
struct PlainExtract {
    static inline std::uint32_t Byte2(std::uint32_t x) { return (x >> 16) & 0xFF; }
};

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QUILLBOX_X86_BMI 1
// One BEXTR instead: a single-cycle instruction on the processors that have it.
struct BmiExtract {
    static inline std::uint32_t Byte2(std::uint32_t x) {
        std::uint32_t b;
        asm("bextr %2, %1, %0" : "=r"(b) : "r"(x), "r"(0x0810u));
        return b;
    }
};
#endif

template <typename Extract>
inline std::uint32_t Round(const Tables& t, std::uint32_t x) {
    return ((t.S[0][x >> 24] + t.S[1][Extract::Byte2(x)]) ^ t.S[2][(x >> 8) & 0xFF]) +
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

void EncryptRunPlain(const Tables& t, std::uint8_t* p, std::size_t bytes, Chain& chain) {
    EncryptRunWith<PlainExtract>(t, p, bytes, chain);
}

#ifdef QUILLBOX_X86_BMI
void EncryptRunBmi(const Tables& t, std::uint8_t* p, std::size_t bytes, Chain& chain) {
    EncryptRunWith<BmiExtract>(t, p, bytes, chain);
}
#endif

using RunFunction = void (*)(const Tables&, std::uint8_t*, std::size_t, Chain&);

RunFunction PickEncryptRun() {
#ifdef QUILLBOX_X86_BMI
    if (__builtin_cpu_supports("bmi")) return EncryptRunBmi;
#endif
    return EncryptRunPlain;
}

}  // namespace

void EncryptRun(const Tables& t, std::uint8_t* data, std::size_t bytes, Chain& chain) {
    static const RunFunction run = PickEncryptRun();
    run(t, data, bytes, chain);
}

void DecryptRun(const Tables& t, std::uint8_t* p, std::size_t bytes, Chain& chain) {
    constexpr int kLanes = 8;
    constexpr std::size_t kSpan = kLanes * 8;
    std::uint8_t* const end = p + bytes;
    for (; static_cast<std::size_t>(end - p) >= kSpan; p += kSpan) {
        std::uint32_t xL[kLanes], xR[kLanes], L[kLanes], R[kLanes];
        for (int k = 0; k < kLanes; ++k) {
            L[k] = xL[k] = LoadBig(p + 8 * k);
            R[k] = xR[k] = LoadBig(p + 8 * k + 4);
        }
        DecipherLanes<kLanes>(t, L, R);
        StoreBig(p, L[0] ^ chain.L);
        StoreBig(p + 4, R[0] ^ chain.R);
        for (int k = 1; k < kLanes; ++k) {
            StoreBig(p + 8 * k, L[k] ^ xL[k - 1]);
            StoreBig(p + 8 * k + 4, R[k] ^ xR[k - 1]);
        }
        chain = Chain{xL[kLanes - 1], xR[kLanes - 1]};
    }
    for (; p != end; p += 8) {
        const Chain x{LoadBig(p), LoadBig(p + 4)};
        std::uint32_t L = x.L, R = x.R;
        Decipher(t, L, R);
        StoreBig(p, L ^ chain.L);
        StoreBig(p + 4, R ^ chain.R);
        chain = x;
    }
}

}  // namespace cipher
