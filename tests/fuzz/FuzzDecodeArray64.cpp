// DecodeArray64 on any text: it fails exactly when nothing is left once line
// breaks (CR, LF, in pairs or alone) and "=" signs are gone, otherwise gives
// the number of bytes the remaining characters carry, decodes exactly as the
// text without its line breaks does, and what it gives encodes and decodes
// back to itself.

#include "cipher/CipherErrors.h"
#include "cipher/clsBlowfish.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace fuzzsupport;

namespace {

std::u16string WithoutLineBreaks(std::u16string text) {
    std::erase(text, u'\r');
    std::erase(text, u'\n');
    return text;
}

// Characters left for decoding: line breaks and "=" signs removed.
std::size_t DataCharacters(const std::u16string& text) {
    std::size_t count = 0;
    for (const char16_t c : text) count += c != u'\r' && c != u'\n' && c != u'=';
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = TextFromInput(data, size);
    const std::size_t m = DataCharacters(text);
    clsBlowfish cipher;
    Bytes bytes;
    try {
        bytes = cipher.DecodeArray64(text);
    } catch (const cipher::Base64Error&) {
        Require(m == 0, "DecodeArray64 failed on text with characters to decode");
        return 0;
    }
    Require(m != 0, "DecodeArray64 decoded text with nothing to decode");

    const std::size_t full = 3 * (m / 4);
    switch (m % 4) {
        case 0:
            Require(bytes.size() == full, "length for whole groups");
            break;
        case 2:
            Require(bytes.size() == full + 1, "length for a 2-character tail");
            break;
        case 3:
            Require(bytes.size() == full + 2, "length for a 3-character tail");
            break;
        default:
            Require(bytes.size() == full || bytes.size() == full + 1,
                    "length for a 1-character tail");
    }
    const std::u16string unbroken = WithoutLineBreaks(text);
    if (unbroken.size() != text.size()) {
        Require(cipher.DecodeArray64(unbroken) == bytes, "line breaks decode as nothing");
    }
    if (!bytes.empty()) {
        const std::u16string again = cipher.EncodeArray64(bytes);
        Require(!again.empty(), "EncodeArray64 gave nothing for bytes");
        Require(cipher.DecodeArray64(again) == bytes, "Base64 round trip");
    }
    return 0;
}
