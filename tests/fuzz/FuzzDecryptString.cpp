// DecryptString with Base64 input under a fixed key: the only failures that
// may escape are Base64Error and WrongPasswordError, after which the caller's
// text and key are untouched; a success empties both, and its plaintext
// encrypts and decrypts back to itself.

#include "cipher/CipherErrors.h"
#include "cipher/clsBlowfish.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace fuzzsupport;

namespace {
const std::u16string kKey = u"fuzzing key";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string input = TextFromInput(data, size);
    std::u16string text = input, key = kKey;
    clsBlowfish cipher;
    std::u16string plain;
    try {
        plain = cipher.DecryptString(text, key, true);
    } catch (const cipher::Base64Error&) {
        Require(text == input && key == kKey, "arguments kept after a Base64 failure");
        return 0;
    } catch (const cipher::WrongPasswordError&) {
        Require(text == input && key == kKey, "arguments kept after a refused container");
        return 0;
    }
    Require(text.empty() && key.empty(), "arguments emptied after a success");

    std::u16string again = plain, encryptionKey = kKey, decryptionKey = kKey;
    std::u16string base64 = cipher.EncryptString(again, encryptionKey, true);
    Require(cipher.DecryptString(base64, decryptionKey, true) == plain, "string round trip");
    return 0;
}
