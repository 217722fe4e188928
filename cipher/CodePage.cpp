#include "cipher/CodePage.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "cipher/CipherErrors.h"
#include "cipher/SecureZero.h"

namespace {

// Characters of the bytes 0x80 to 0x9F. The five bytes that Windows-1252
// leaves unassigned stand for the C1 control character of the same number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

std::string Describe(char32_t c) {
    char buf[96];
    std::snprintf(buf, sizeof buf,
                  "the text holds the character U+%04X, which the Windows-1252 code page "
                  "cannot represent",
                  static_cast<unsigned>(c));
    return buf;
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c < 0xDC00;
}

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

// The character that starts at text[i]: a surrogate pair counts as one.
char32_t CodePointAt(std::u16string_view text, std::size_t i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    }
    return c;
}

char16_t FirstUnit(char32_t codePoint) {
    if (codePoint < 0x10000) return static_cast<char16_t>(codePoint);
    return static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
}

}  // namespace

namespace cipher {

UnrepresentableTextError::UnrepresentableTextError(char16_t character)
    : std::runtime_error(Describe(character)), character_(character), codePoint_(character) {}

UnrepresentableTextError::UnrepresentableTextError(char32_t codePoint)
    : std::runtime_error(Describe(codePoint)),
      character_(FirstUnit(codePoint)),
      codePoint_(codePoint) {}

}  // namespace cipher

namespace cipher::codepage {

char16_t ToChar(std::uint8_t b) {
    return (b >= 0x80 && b <= 0x9F) ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
}

std::optional<std::uint8_t> ToByte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<std::uint8_t>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) return static_cast<std::uint8_t>(0x80 + i);
    }
    return std::nullopt;
}

ByteArray TextToBytes(std::u16string_view text, std::size_t capacity) {
    ByteArray bytes;
    bytes.reserve(std::max(capacity, text.size()));
    bytes.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            bytes[i] = static_cast<std::uint8_t>(c);
            continue;
        }
        const std::optional<std::uint8_t> b = ToByte(c);
        if (!b) {
            cipher::Wipe(bytes);  // the text may be a password or plain text
            throw UnrepresentableTextError(CodePointAt(text, i));
        }
        bytes[i] = *b;
    }
    return bytes;
}

std::optional<char32_t> FirstUnrepresentable(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!ToByte(text[i])) return CodePointAt(text, i);
    }
    return std::nullopt;
}

std::u16string BytesToText(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size, u'\0');
    for (std::size_t i = 0; i < size; ++i) text[i] = ToChar(data[i]);
    return text;
}

}  // namespace cipher::codepage
