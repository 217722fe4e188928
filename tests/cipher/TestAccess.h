#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "cipher/clsBlowfish.h"

// Reaches the private operations and the tables of clsBlowfish for tests.
class clsBlowfishTestAccess {
public:
    using ByteArray = clsBlowfish::ByteArray;

    static constexpr std::size_t kTableWords = 18 + 4 * 256;

    static void ResetTables(clsBlowfish& cipher) { cipher.ResetTables(); }
    static void EncryptBlock(const clsBlowfish& cipher, std::uint32_t& L, std::uint32_t& R) {
        cipher.EncryptBlock(L, R);
    }
    static void DecryptBlock(const clsBlowfish& cipher, std::uint32_t& L, std::uint32_t& R) {
        cipher.DecryptBlock(L, R);
    }
    static std::uint32_t RoundFunction(const clsBlowfish& cipher, std::uint32_t x) {
        return cipher.RoundFunction(x);
    }
    static std::uint32_t GetWord(const ByteArray& array, std::size_t p) {
        return clsBlowfish::GetWord(array, p);
    }
    static void PutWord(ByteArray& array, std::size_t p, std::uint32_t w) {
        clsBlowfish::PutWord(array, p, w);
    }
    static bool IsExistingFile(const clsBlowfish& cipher, const std::u16string& path) {
        return cipher.IsExistingFile(path);
    }

    static const cipher::Tables& RawTables(const clsBlowfish& cipher) { return cipher.tables_; }
    static std::uint32_t P(const clsBlowfish& cipher, int i) { return cipher.tables_.P[i]; }
    static std::uint32_t S(const clsBlowfish& cipher, int box, int entry) {
        return cipher.tables_.S[box][entry];
    }

    // The whole cipher state, P[0..17] then S[0][0..255] .. S[3][0..255].
    static std::vector<std::uint32_t> Tables(const clsBlowfish& cipher) {
        std::vector<std::uint32_t> words(std::begin(cipher.tables_.P), std::end(cipher.tables_.P));
        for (const auto& box : cipher.tables_.S)
            words.insert(words.end(), std::begin(box), std::end(box));
        return words;
    }

    // Where the tables sit inside the object, for checking what is left in
    // its storage after destruction.
    static std::ptrdiff_t TablesOffset(const clsBlowfish& cipher) {
        return reinterpret_cast<const unsigned char*>(&cipher.tables_) -
               reinterpret_cast<const unsigned char*>(&cipher);
    }
};
