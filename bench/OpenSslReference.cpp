#include "bench/OpenSslReference.h"

#include <openssl/evp.h>
#include <openssl/provider.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <stdexcept>
#include <string>

namespace bench {

namespace {

void Check(int ok, const char* what) {
    if (ok != 1) throw std::runtime_error(std::string("OpenSSL: ") + what + " failed");
}

}  // namespace

OpenSslReference::OpenSslReference() {
    legacy_ = OSSL_PROVIDER_load(nullptr, "legacy");
    defaults_ = OSSL_PROVIDER_load(nullptr, "default");
    if (legacy_ == nullptr || defaults_ == nullptr)
        throw std::runtime_error("OpenSSL legacy provider not available");
    cipher_ = EVP_CIPHER_fetch(nullptr, "BF-CBC", nullptr);
    ctx_ = EVP_CIPHER_CTX_new();
    if (cipher_ == nullptr || ctx_ == nullptr)
        throw std::runtime_error("OpenSSL BF-CBC not available");
    SetKey(key_);
}

OpenSslReference::~OpenSslReference() {
    EVP_CIPHER_CTX_free(ctx_);
    EVP_CIPHER_free(cipher_);
    OSSL_PROVIDER_unload(defaults_);
    OSSL_PROVIDER_unload(legacy_);
}

void OpenSslReference::SetKey(const std::uint8_t* key16) {
    std::memmove(key_, key16, sizeof key_);  // key16 may be key_ itself
    const unsigned char iv[8] = {};
    Check(EVP_CipherInit_ex2(ctx_, cipher_, key_, iv, 1, nullptr), "key schedule");
}

void OpenSslReference::Run(bool encrypt, const std::uint8_t* in, std::uint8_t* out,
                           std::size_t size) {
    const unsigned char iv[8] = {};
    // Restarts the chain with the schedule already in place.
    Check(EVP_CipherInit_ex2(ctx_, nullptr, nullptr, iv, encrypt ? 1 : 0, nullptr), "init");
    Check(EVP_CIPHER_CTX_set_padding(ctx_, 0), "padding");
    std::size_t done = 0;
    while (done < size) {
        const int chunk =
            static_cast<int>(std::min<std::size_t>(size - done, std::size_t{1} << 30));
        int written = 0;
        Check(EVP_CipherUpdate(ctx_, out + done, &written, in + done, chunk), "update");
        done += static_cast<std::size_t>(chunk);
    }
    int last = 0;
    Check(EVP_CipherFinal_ex(ctx_, out + done, &last), "final");
}

void OpenSslReference::Encrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
    Run(true, in, out, size);
}

void OpenSslReference::Decrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
    Run(false, in, out, size);
}

std::size_t OpenSslReference::EncodeBase64(const std::uint8_t* in, std::size_t size, char* out) {
    return static_cast<std::size_t>(
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out), in, static_cast<int>(size)));
}

std::size_t OpenSslReference::DecodeBase64(const char* in, std::size_t size, std::uint8_t* out) {
    return static_cast<std::size_t>(
        EVP_DecodeBlock(out, reinterpret_cast<const unsigned char*>(in), static_cast<int>(size)));
}

}  // namespace bench
