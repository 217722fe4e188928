#include "cipher/Base64Stream.h"

#include "cipher/CodePage.h"

namespace cipher {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kSkip = 0xFF;
constexpr std::size_t kLineChars = 76;

// For every byte of a file: kSkip for CR, LF and "=", otherwise the value of
// the low 8 bits of the code page character it stands for.
struct ByteValues {
    std::uint8_t value[256] = {};
    ByteValues() {
        std::uint8_t reverse[256] = {};
        for (int i = 0; i < 64; ++i) {
            reverse[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
        }
        for (int b = 0; b < 256; ++b) {
            const char16_t c = codepage::ToChar(static_cast<std::uint8_t>(b));
            value[b] = (c == u'\r' || c == u'\n' || c == u'=') ? kSkip : reverse[c & 0xFF];
        }
    }
};

const ByteValues& Values() {
    static const ByteValues values;
    return values;
}

}  // namespace

std::uint64_t Base64Decoder::DecodedLength(std::uint64_t characters) {
    const std::uint64_t rest = characters % 4;
    return characters / 4 * 3 + (rest >= 2 ? rest - 1 : 0);
}

std::size_t Base64Decoder::Count(const std::uint8_t* text, std::size_t size) {
    // Only the bytes of CR, LF and "=" themselves stand for those characters.
    std::size_t skipped = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t b = text[i];
        skipped += static_cast<std::size_t>((b == '\r') | (b == '\n') | (b == '='));
    }
    return size - skipped;
}

std::size_t Base64Decoder::Decode(const std::uint8_t* text, std::size_t size, std::uint8_t* out) {
    const std::uint8_t* value = Values().value;
    std::uint8_t* o = out;
    std::uint32_t acc = acc_;
    std::size_t pending = pending_;
    std::size_t counted = 0;
    for (std::size_t i = 0; i < size; ++i) {
        // Whole groups of four counting characters at once.
        while (pending == 0 && i + 4 <= size) {
            const std::uint32_t v0 = value[text[i]], v1 = value[text[i + 1]],
                                v2 = value[text[i + 2]], v3 = value[text[i + 3]];
            if (((v0 | v1 | v2 | v3) & 0x80) != 0) break;
            const std::uint32_t v = (v0 << 18) | (v1 << 12) | (v2 << 6) | v3;
            o[0] = static_cast<std::uint8_t>(v >> 16);
            o[1] = static_cast<std::uint8_t>(v >> 8);
            o[2] = static_cast<std::uint8_t>(v);
            o += 3;
            i += 4;
            counted += 4;
        }
        if (i == size) break;
        const std::uint8_t v = value[text[i]];
        if (v == kSkip) continue;
        ++counted;
        o += AddBase64Value(acc, pending, v, o);
    }
    acc_ = acc;
    pending_ = pending;
    characters_ += counted;
    return static_cast<std::size_t>(o - out);
}

std::size_t Base64Decoder::Finish(std::uint8_t* out) {
    const std::size_t bytes = FinishBase64Group(acc_, pending_, out);
    pending_ = 0;
    acc_ = 0;
    return bytes;
}

std::size_t Base64Encoder::Room(std::size_t size) {
    const std::size_t chars = (size / 3 + 1) * 4;
    return chars + 2 * (chars / kLineChars + 1);
}

Base64Encoder::Base64Encoder(std::uint64_t total) : breaks_((total + 2) / 3 * 4 > kLineChars) {}

std::size_t Base64Encoder::Put(char c, std::uint8_t* out) {
    out[0] = static_cast<std::uint8_t>(c);
    if (++column_ < kLineChars || !breaks_) return 1;
    column_ = 0;
    out[1] = '\r';
    out[2] = '\n';
    return 3;
}

std::size_t Base64Encoder::Encode(const std::uint8_t* data, std::size_t size, std::uint8_t* out) {
    std::uint8_t* o = out;
    std::size_t i = 0;
    auto group = [&](std::uint32_t v) {
        o += Put(kAlphabet[v >> 18], o);
        o += Put(kAlphabet[(v >> 12) & 63], o);
        o += Put(kAlphabet[(v >> 6) & 63], o);
        o += Put(kAlphabet[v & 63], o);
    };
    if (carried_ > 0) {
        // Complete the group begun by the last piece.
        std::uint8_t three[3] = {carry_[0], carry_[1], 0};
        std::size_t have = carried_;
        while (have < 3 && i < size) three[have++] = data[i++];
        if (have < 3) {
            carry_[0] = three[0];
            carry_[1] = three[1];
            carried_ = have;
            return static_cast<std::size_t>(o - out);
        }
        group((std::uint32_t{three[0]} << 16) | (std::uint32_t{three[1]} << 8) | three[2]);
        carried_ = 0;
    }
    for (; i + 3 <= size; i += 3) {
        group((std::uint32_t{data[i]} << 16) | (std::uint32_t{data[i + 1]} << 8) | data[i + 2]);
    }
    for (; i < size; ++i) carry_[carried_++] = data[i];
    return static_cast<std::size_t>(o - out);
}

std::size_t Base64Encoder::Finish(std::uint8_t* out) {
    std::uint8_t* o = out;
    if (carried_ > 0) {
        const std::uint32_t b0 = carry_[0], b1 = carried_ == 2 ? carry_[1] : 0;
        o += Put(kAlphabet[b0 >> 2], o);
        o += Put(kAlphabet[((b0 & 3) << 4) | (b1 >> 4)], o);
        o += Put(carried_ == 2 ? kAlphabet[(b1 & 15) << 2] : '=', o);
        o += Put('=', o);
        carried_ = 0;
    }
    return static_cast<std::size_t>(o - out);
}

}  // namespace cipher
