// Base64 with the standard alphabet and padding, output broken into lines of
// 76 characters separated by CR LF, and a decoder that skips CR LF pairs and
// "=" signs and reads every other character through its low 8 bits.

#include <cstring>

#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
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

std::u16string clsBlowfish::EncodeArray64(const ByteArray& bytInput) try {
    if (base64Reverse_['/'] != 63) InitBase64Tables();
    const std::size_t n = bytInput.size();
    const std::size_t chars = (n + 2) / 3 * 4;
    const std::size_t breaks = chars > kLineChars ? chars / kLineChars : 0;
    std::u16string out(chars + 2 * breaks, u'\0');

    const char16_t* a = base64Alphabet_;
    const std::uint8_t* in = bytInput.data();
    char16_t* o = out.data();
    std::size_t fullGroups = n / 3;
    std::size_t inLine = 0;
    while (fullGroups > 0) {
        // One line's worth of groups at a time, then its CR LF.
        const std::size_t run = std::min(fullGroups, kGroupsPerLine - inLine);
        for (std::size_t g = 0; g < run; ++g, in += 3, o += 4) {
            const std::uint32_t v =
                (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2];
            o[0] = a[v >> 18];
            o[1] = a[(v >> 12) & 63];
            o[2] = a[(v >> 6) & 63];
            o[3] = a[v & 63];
        }
        fullGroups -= run;
        inLine += run;
        if (inLine == kGroupsPerLine) {
            inLine = 0;
            if (breaks > 0) {
                *o++ = u'\r';
                *o++ = u'\n';
            }
        }
    }
    const std::size_t rest = n % 3;
    if (rest != 0) {
        const std::uint32_t b0 = in[0], b1 = rest == 2 ? in[1] : 0;
        o[0] = a[b0 >> 2];
        o[1] = a[((b0 & 3) << 4) | (b1 >> 4)];
        o[2] = rest == 2 ? a[(b1 & 15) << 2] : u'=';
        o[3] = u'=';
        o += 4;
        if (++inLine == kGroupsPerLine && breaks > 0) {
            *o++ = u'\r';
            *o++ = u'\n';
        }
    }
    return out;
} catch (...) {
    return std::u16string();
}

clsBlowfish::ByteArray clsBlowfish::DecodeArray64(const std::u16string& sInput) {
    if (base64Reverse_['/'] != 63) InitBase64Tables();
    // Values of the characters that remain once CR LF pairs and then "=" signs
    // are gone; anything outside the alphabet counts as 0.
    ByteArray values(sInput.size());
    std::size_t m = 0;
    const char16_t* s = sInput.data();
    const std::size_t len = sInput.size();
    for (std::size_t i = 0; i < len; ++i) {
        const char16_t c = s[i];
        if (c == u'\r' && i + 1 < len && s[i + 1] == u'\n') {
            ++i;
        } else if (c != u'=') {
            values[m++] = base64Reverse_[c & 0xFF];
        }
    }
    if (m == 0) throw Base64Error();

    const std::size_t groups = m / 4, rest = m % 4;
    ByteArray out(groups * 3 + (rest >= 2 ? rest - 1 : 0));
    const std::uint8_t* v = values.data();
    std::uint8_t* o = out.data();
    for (std::size_t g = 0; g < groups; ++g, v += 4, o += 3) {
        o[0] = static_cast<std::uint8_t>((v[0] << 2) | (v[1] >> 4));
        o[1] = static_cast<std::uint8_t>((v[1] << 4) | (v[2] >> 2));
        o[2] = static_cast<std::uint8_t>((v[2] << 6) | v[3]);
    }
    // A lone last character cannot carry a whole byte and is dropped.
    if (rest >= 2) o[0] = static_cast<std::uint8_t>((v[0] << 2) | (v[1] >> 4));
    if (rest == 3) o[1] = static_cast<std::uint8_t>((v[1] << 4) | (v[2] >> 2));
    return out;
}

std::u16string clsBlowfish::Encode64(const std::u16string& sInput) {
    if (sInput.empty()) return std::u16string();
    return EncodeArray64(codepage::TextToBytes(sInput));
}

std::u16string clsBlowfish::Decode64(const std::u16string& sInput) {
    if (sInput.empty()) return std::u16string();
    return codepage::BytesToText(DecodeArray64(sInput));
}
