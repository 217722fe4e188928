#include "core/Utf8.h"

#include "cipher/SecureZero.h"

namespace {

// The length of the valid UTF-8 sequence at p (of n bytes), or 0; its
// code point in `code`.
std::size_t ValidSequence(const unsigned char* p, std::size_t n, char32_t& code) {
    if (p[0] < 0x80) {
        code = p[0];
        return 1;
    }
    std::size_t length;
    char32_t minimum;
    if ((p[0] & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, code = p[0] & 0x1F;
    } else if ((p[0] & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, code = p[0] & 0x0F;
    } else if ((p[0] & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, code = p[0] & 0x07;
    } else {
        return 0;
    }
    if (n < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code < 0xE000;
    if (code < minimum || code > 0x10FFFF || surrogate) return 0;
    return length;
}

void AppendCode(std::u16string& text, char32_t code) {
    if (code >= 0x10000) {
        text += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
        text += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
        text += static_cast<char16_t>(code);
    }
}

}  // namespace

std::optional<std::u16string> DecodeUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t left = bytes.size(); left > 0;) {
        char32_t code = 0;
        const std::size_t length = ValidSequence(p, left, code);
        if (length == 0) {
            cipher::Wipe(text);  // what was decoded so far may be a password
            return std::nullopt;
        }
        AppendCode(text, code);
        p += length;
        left -= length;
    }
    return text;
}

std::u16string DecodeArgument(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());  // an argument may hold a password
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t left = bytes.size(); left > 0;) {
        char32_t code = 0;
        std::size_t length = ValidSequence(p, left, code);
        if (length == 0) {
            code = 0xDC00 + *p;
            length = 1;
        }
        AppendCode(text, code);
        p += length;
        left -= length;
    }
    return text;
}
