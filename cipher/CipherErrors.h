#pragma once

#include <stdexcept>
#include <string>

namespace cipher {

// Failures the engine raises to its callers.

// Base64 text that holds nothing once CR LF pairs and "=" signs are removed.
class Base64Error : public std::out_of_range {
public:
    Base64Error() : std::out_of_range("no Base64 characters to decode") {}
};

// EncodeArray64 gave no text for a container, which is never empty: the
// encoder could not get the memory for it.
class Base64EncodingError : public std::runtime_error {
public:
    Base64EncodingError()
        : std::runtime_error("the encrypted data could not be encoded as Base64") {}
};

// The size descriptor of a deciphered container did not match its length:
// the password is wrong or the data is not one of our containers.
class WrongPasswordError : public std::runtime_error {
public:
    WrongPasswordError() : std::runtime_error("wrong password or not valid ciphertext") {}
};

// Text (a password or a plaintext) holds a character that the ANSI code page
// (Windows-1252) cannot represent. Nothing is encrypted in that case.
class UnrepresentableTextError : public std::runtime_error {
public:
    explicit UnrepresentableTextError(char16_t character);
    // A character beyond the 16-bit range, which text holds as a surrogate pair.
    explicit UnrepresentableTextError(char32_t codePoint);
    // The first 16-bit unit of the character (the high surrogate of a pair).
    char16_t Character() const { return character_; }
    // The whole character.
    char32_t CodePoint() const { return codePoint_; }

private:
    char16_t character_;
    char32_t codePoint_;
};

// A container of the requested size would exceed 2^31 - 1 bytes.
class ContainerTooLargeError : public std::length_error {
public:
    ContainerTooLargeError() : std::length_error("data too large for an encrypted container") {}
};

}  // namespace cipher
