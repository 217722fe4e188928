// DecodeArray64 on any text: it fails exactly when nothing is left once CR LF
// pairs and "=" signs are gone, otherwise gives the number of bytes the
// remaining characters carry, and what it gives encodes and decodes back to
// itself.

#include "cipher/CipherErrors.h"
#include "cipher/clsBlowfish.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace fuzzsupport;

namespace {

// Characters left for decoding: CR LF pairs removed first, then "=" signs.
std::size_t DataCharacters(const std::u16string& text) {
    std::u16string withoutLineBreaks;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
        } else {
            withoutLineBreaks.push_back(text[i]);
        }
    }
    std::size_t count = 0;
    for (const char16_t c : withoutLineBreaks) count += c != u'=';
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
    } catch (const Base64Error&) {
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
    if (!bytes.empty()) {
        const std::u16string again = cipher.EncodeArray64(bytes);
        Require(!again.empty(), "EncodeArray64 gave nothing for bytes");
        Require(cipher.DecodeArray64(again) == bytes, "Base64 round trip");
    }
    return 0;
}
