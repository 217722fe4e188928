// The block cipher and its key schedule.

#include <cstring>

#include "cipher/CodePage.h"
#include "cipher/PiWords.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"

namespace cipher {

void FillInitialTables(Tables& t, bool interleaved) {
    for (int i = 0; i < 18; ++i) t.P[i] = kPiWords[i];
    for (int b = 0; b < 4; ++b) {
        for (int e = 0; e < 256; ++e) {
            t.S[b][e] = interleaved ? kPiWords[18 + 4 * e + b] : kPiWords[18 + 256 * b + e];
        }
    }
}

}  // namespace cipher

clsBlowfish::clsBlowfish(cipher::ProgressSink* sink, TableLayout layout)
    : layout_(layout), sink_(sink) {
    ResetTables();
}

clsBlowfish::~clsBlowfish() {
    cipher::SecureZero(&tables_, sizeof tables_);
}

void clsBlowfish::ResetTables() {
    cipher::FillInitialTables(tables_, layout_ == TableLayout::Interleaved);
}

void clsBlowfish::Key(const std::u16string& New_Value) {
    // Convert first: a refused key leaves the tables as they were.
    std::vector<std::uint8_t> keyBytes = cipher::codepage::TextToBytes(New_Value);
    ResetTables();
    if (!keyBytes.empty()) ScheduleKey(keyBytes);
    cipher::Wipe(keyBytes);
}

void clsBlowfish::ScheduleKey(const std::vector<std::uint8_t>& K) {
    const std::size_t n = K.size();
    std::size_t j = 0;
    for (std::uint32_t& p : tables_.P) {
        std::uint32_t w = 0;
        for (int k = 0; k < 4; ++k) {
            w = (w << 8) | K[j];
            if (++j == n) j = 0;
        }
        p ^= w;
    }
    std::uint32_t L = 0, R = 0;
    for (int i = 0; i < 18; i += 2) {
        EncryptBlock(L, R);
        tables_.P[i] = L;
        tables_.P[i + 1] = R;
    }
    for (auto& box : tables_.S) {
        for (int e = 0; e < 256; e += 2) {
            EncryptBlock(L, R);
            box[e] = L;
            box[e + 1] = R;
        }
    }
}

void clsBlowfish::EncryptBlock(std::uint32_t& L, std::uint32_t& R) const {
    cipher::Encipher(tables_, L, R);
}

void clsBlowfish::DecryptBlock(std::uint32_t& L, std::uint32_t& R) const {
    cipher::Decipher(tables_, L, R);
}

std::uint32_t clsBlowfish::RoundFunction(std::uint32_t x) const {
    return cipher::F(tables_, x);
}
