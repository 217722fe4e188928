#pragma once

#include <cstddef>
#include <cstdint>

typedef struct evp_cipher_st EVP_CIPHER;
typedef struct evp_cipher_ctx_st EVP_CIPHER_CTX;
typedef struct ossl_provider_st OSSL_PROVIDER;

namespace bench {

// OpenSSL's Blowfish in CBC mode (from its legacy provider) and Base64, the
// reference the engine is measured against.
class OpenSslReference {
public:
    OpenSslReference();
    ~OpenSslReference();
    OpenSslReference(const OpenSslReference&) = delete;
    OpenSslReference& operator=(const OpenSslReference&) = delete;

    // Runs the key schedule for a 16-byte key.
    void SetKey(const std::uint8_t* key16);
    // CBC over whole blocks (size a multiple of 8), zero starting value, no padding.
    void Encrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t size);
    void Decrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t size);

    // Base64 without line breaks; the output buffers must be large enough.
    static std::size_t EncodeBase64(const std::uint8_t* in, std::size_t size, char* out);
    static std::size_t DecodeBase64(const char* in, std::size_t size, std::uint8_t* out);

private:
    void Run(bool encrypt, const std::uint8_t* in, std::uint8_t* out, std::size_t size);

    OSSL_PROVIDER* legacy_ = nullptr;
    OSSL_PROVIDER* defaults_ = nullptr;
    EVP_CIPHER* cipher_ = nullptr;
    EVP_CIPHER_CTX* ctx_ = nullptr;
    std::uint8_t key_[16] = {};
};

}  // namespace bench
