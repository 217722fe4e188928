#include "core/Utf8.h"

#include "cipher/SecureZero.h"

namespace core {

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

// The code point at text[i], a surrogate pair read as one; i is left on its
// last unit.
char32_t CodeAt(std::u16string_view text, std::size_t& i) {
    const char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
        return 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    return c >= 0xD800 && c < 0xE000 ? 0xFFFD : c;
}

std::size_t EncodedLength(char32_t c) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

void AppendUtf8(std::string& out, char32_t c) {
    const std::size_t length = EncodedLength(c);
    if (length == 1) {
        out += static_cast<char>(c);
        return;
    }
    static constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLead[length] | (c >> (6 * (length - 1))));
    for (std::size_t shift = 6 * (length - 1); shift > 0;) {
        shift -= 6;
        out += static_cast<char>(0x80 | ((c >> shift) & 0x3F));
    }
}

}  // namespace

std::string EncodeUtf8(std::u16string_view text) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); ++i) length += EncodedLength(CodeAt(text, i));
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < text.size(); ++i) AppendUtf8(out, CodeAt(text, i));
    return out;
}

std::string EncodeUtf8(char32_t character) {
    std::string out;
    AppendUtf8(out, character);
    return out;
}

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

}  // namespace core
