// Base64 with the standard alphabet and padding, output broken into lines of
// 76 characters separated by CR LF, and a decoder that skips line breaks (CR
// LF pairs, and a CR or an LF on its own, as text loses or keeps its CR on the
// way through other tools) and "=" signs, and reads every other character
// through its low 8 bits.

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "cipher/Base64Stream.h"
#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/LargeBuffer.h"
#include "cipher/clsBlowfish.h"

namespace {

constexpr std::size_t kLineChars = 76;
constexpr std::size_t kGroupsPerLine = kLineChars / 4;
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

void clsBlowfish::InitBase64Tables() {
    for (int i = 0; i < 64; ++i) {
        base64Alphabet_[i] = static_cast<char16_t>(kAlphabet[i]);
        base64Reverse_[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    }
}

namespace {

// Two alphabet characters for every 12-bit value, packed as one 32-bit
// store in memory order (first character at the lower address).
struct PairTable {
    std::uint32_t pairs[4096];
    PairTable() {
        for (std::uint32_t v = 0; v < 4096; ++v) {
            const char16_t two[2] = {static_cast<char16_t>(kAlphabet[v >> 6]),
                                     static_cast<char16_t>(kAlphabet[v & 63])};
            std::memcpy(&pairs[v], two, sizeof two);
        }
    }
};

inline void PutGroup(const std::uint32_t* pairs, const std::uint8_t* in, char16_t* out) {
    const std::uint32_t v = (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2];
    std::memcpy(out, &pairs[v >> 12], 4);
    std::memcpy(out + 2, &pairs[v & 0xFFF], 4);
}

// True when one of the four 16-bit lanes of v equals the lane value of k.
inline bool HasLane(std::uint64_t v, std::uint64_t k) {
    const std::uint64_t x = v ^ k;
    return ((x - 0x0001000100010001ULL) & ~x & 0x8000800080008000ULL) != 0;
}

// The value of every 8-bit character code at each of the four positions of
// a group, already shifted into place in a 24-bit big-endian word.
struct ShiftedValues {
    std::uint32_t at[4][256] = {};
    ShiftedValues() {
        for (int i = 0; i < 64; ++i) {
            const auto c = static_cast<unsigned char>(kAlphabet[i]);
            for (int k = 0; k < 4; ++k) at[k][c] = static_cast<std::uint32_t>(i) << (26 - 6 * k);
        }
    }
};

// Three bytes from a group of four characters, stored as four bytes (the
// fourth is overwritten by the next group or lies in the output's slack).
inline void DecodeGroup(const ShiftedValues& t, const char16_t* s, std::uint8_t* o) {
    const std::uint32_t v =
        t.at[0][s[0] & 0xFF] | t.at[1][s[1] & 0xFF] | t.at[2][s[2] & 0xFF] | t.at[3][s[3] & 0xFF];
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v >> 24),
                                   static_cast<std::uint8_t>(v >> 16),
                                   static_cast<std::uint8_t>(v >> 8), 0};
    std::memcpy(o, bytes, 4);
}

// True when none of the four characters is CR, LF or "=".
inline bool OrdinaryGroup(const char16_t* s) {
    std::uint64_t four;
    std::memcpy(&four, s, 8);
    return !HasLane(four, 0x000D000D000D000DULL) && !HasLane(four, 0x000A000A000A000AULL) &&
           !HasLane(four, 0x003D003D003D003DULL);
}

#if defined(__SSE2__)
// The same test for two groups at once.
inline bool OrdinaryPair(const char16_t* s) {
    const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i lineBreak = _mm_or_si128(_mm_cmpeq_epi16(eight, _mm_set1_epi16(0x0D)),
                                           _mm_cmpeq_epi16(eight, _mm_set1_epi16(0x0A)));
    const __m128i special = _mm_or_si128(lineBreak, _mm_cmpeq_epi16(eight, _mm_set1_epi16(0x3D)));
    return _mm_movemask_epi8(special) == 0;
}
#else
inline bool OrdinaryPair(const char16_t* s) {
    return OrdinaryGroup(s) && OrdinaryGroup(s + 4);
}
#endif

// Decodes groups of four characters from s on as long as a group holds
// neither CR, LF nor "=", and returns how many it decoded.
inline std::size_t DecodeOrdinaryGroups(const char16_t* s, std::size_t len, std::uint8_t* o) {
    static const ShiftedValues t;
    std::size_t groups = 0;
    for (; 4 * groups + 8 <= len && OrdinaryPair(s); groups += 2, s += 8, o += 6) {
        DecodeGroup(t, s, o);
        DecodeGroup(t, s + 4, o + 3);
    }
    for (; 4 * groups + 4 <= len && OrdinaryGroup(s); ++groups, s += 4, o += 3) {
        DecodeGroup(t, s, o);
    }
    return groups;
}

}  // namespace

std::u16string clsBlowfish::EncodeArray64(const ByteArray& bytInput) try {
    if (base64Reverse_[static_cast<unsigned char>('/')] != 63) InitBase64Tables();
    const std::size_t n = bytInput.size();
    const std::size_t chars = (n + 2) / 3 * 4;
    const std::size_t breaks = chars > kLineChars ? chars / kLineChars : 0;
    std::u16string out;
    cipher::SizeLargeBuffer(out, chars + 2 * breaks);
    if (n == 0) return out;

    static const PairTable table;
    const std::uint8_t* in = bytInput.data();
    char16_t* o = out.data();
    std::size_t groups = n / 3;
    // Whole lines first, each followed by its CR LF when the text has breaks.
    while (groups >= kGroupsPerLine && breaks > 0) {
        for (std::size_t g = 0; g < kGroupsPerLine; ++g, in += 3, o += 4) {
            PutGroup(table.pairs, in, o);
        }
        *o++ = u'\r';
        *o++ = u'\n';
        groups -= kGroupsPerLine;
    }
    for (; groups > 0; --groups, in += 3, o += 4) PutGroup(table.pairs, in, o);

    const std::size_t rest = n % 3;
    if (rest != 0) {
        const std::uint32_t b0 = in[0], b1 = rest == 2 ? in[1] : 0;
        const char16_t* a = base64Alphabet_;
        o[0] = a[b0 >> 2];
        o[1] = a[((b0 & 3) << 4) | (b1 >> 4)];
        o[2] = rest == 2 ? a[(b1 & 15) << 2] : u'=';
        o[3] = u'=';
        o += 4;
    }
    // A last line of exactly 76 characters also ends with CR LF.
    if (o != out.data() + out.size()) {
        o[0] = u'\r';
        o[1] = u'\n';
    }
    return out;
} catch (...) {
    return std::u16string();
}

clsBlowfish::ByteArray clsBlowfish::DecodeArray64(const std::u16string& sInput) {
    if (base64Reverse_[static_cast<unsigned char>('/')] != 63) InitBase64Tables();
    const std::uint8_t* rev = base64Reverse_;
    const char16_t* s = sInput.data();
    const std::size_t len = sInput.size();
    // Three bytes per four characters, plus slack for whole-word stores.
    ByteArray out;
    cipher::SizeLargeBuffer(out, len / 4 * 3 + 8);
    std::uint8_t* o = out.data();

    // Values of the characters that remain once line breaks and "=" signs
    // are gone; anything outside the alphabet counts as 0. Groups of four
    // ordinary characters take the fast path.
    std::uint32_t acc = 0;
    std::size_t pending = 0, m = 0, i = 0;
    while (i < len) {
        if (pending == 0) {
            const std::size_t groups = DecodeOrdinaryGroups(s + i, len - i, o);
            i += 4 * groups;
            m += 4 * groups;
            o += 3 * groups;
            if (i == len) break;
        }
        const char16_t c = s[i++];
        if (c == u'\r' || c == u'\n' || c == u'=') continue;
        ++m;
        o += cipher::AddBase64Value(acc, pending, rev[c & 0xFF], o);
    }
    if (m == 0) throw cipher::Base64Error();
    o += cipher::FinishBase64Group(acc, pending, o);
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

std::u16string clsBlowfish::Encode64(const std::u16string& sInput) {
    if (sInput.empty()) return std::u16string();
    return EncodeArray64(cipher::codepage::TextToBytes(sInput));
}

std::u16string clsBlowfish::Decode64(const std::u16string& sInput) {
    if (sInput.empty()) return std::u16string();
    return cipher::codepage::BytesToText(DecodeArray64(sInput));
}
