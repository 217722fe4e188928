// Text to ciphertext text and back.

#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"

std::u16string clsBlowfish::EncryptString(std::u16string& Text, std::u16string& Key,
                                          bool OutputIn64) {
    // Room for the whole container, so that no copy of the plain bytes is
    // left behind; wiped also when the key is refused.
    ByteArray bytes = cipher::codepage::TextToBytes(Text, ContainerSize(Text.size()));
    const cipher::WipedOnExit<ByteArray> wiped(bytes);
    EncryptByte(bytes, Key);
    // The container's bytes survive the trip through text unchanged, so the
    // Base64 text can be made from them directly.
    std::u16string result =
        OutputIn64 ? EncodeArray64(bytes) : cipher::codepage::BytesToText(bytes);
    // A container is never empty, so neither is its text, unless the encoder failed.
    if (result.empty()) throw cipher::Base64EncodingError();
    cipher::Wipe(Key);
    cipher::Wipe(Text);
    return result;
}

std::u16string clsBlowfish::DecryptString(std::u16string& Text, std::u16string& Key,
                                          bool IsTextIn64) {
    ByteArray bytes;
    const cipher::WipedOnExit<ByteArray> wiped(bytes);
    if (!Text.empty()) {
        bytes = IsTextIn64 ? DecodeArray64(Text) : cipher::codepage::TextToBytes(Text);
        if (!DecryptByte(bytes, Key)) throw cipher::WrongPasswordError();
    }
    std::u16string result = cipher::codepage::BytesToText(bytes);
    cipher::Wipe(Key);
    cipher::Wipe(Text);
    return result;
}
