// DecryptByte on any bytes under a fixed key. It accepts exactly when the
// length is whole blocks and the deciphered size field fits it; accepted, it
// returns exactly the recorded number of data bytes; refused, the array keeps
// its length and its trailing partial block.

#include <algorithm>

#include "cipher/clsBlowfish.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace fuzzsupport;

namespace {

clsBlowfish& Keyed() {
    static clsBlowfish* cipher = [] {
        auto* c = new clsBlowfish();
        c->Key(u"fuzzing key");
        return c;
    }();
    return *cipher;
}

// All of `input` deciphered, header included. Appending zero blocks cannot
// change how the earlier blocks decipher; with 8 or 16 bytes appended at
// most one of the two can have a size field that fits, so the other is
// refused and keeps everything.
Bytes DecipherWhole(const Bytes& input) {
    for (const std::size_t extra : {8u, 16u}) {
        Bytes extended = input;
        extended.resize(input.size() + extra, 0);
        if (!Keyed().DecryptByte(extended)) {
            extended.resize(input.size());
            return extended;
        }
    }
    Require(false, "both extended inputs were accepted");
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes input(data, data + size);
    Bytes bytes = input;
    const bool accepted = Keyed().DecryptByte(bytes);

    const std::size_t whole = size - size % 8;
    const Bytes deciphered = DecipherWhole(input);
    const bool fits = size % 8 == 0 && size >= 16 && FitsLength(SizeField(deciphered), size);
    Require(accepted == fits, "accepted exactly when the size field fits the length");

    if (accepted) {
        const auto recorded = static_cast<std::size_t>(SizeField(deciphered));
        Require(bytes.size() == recorded, "accepted: length equals the recorded size");
        Require(std::equal(bytes.begin(), bytes.end(), deciphered.begin() + 12),
                "accepted: the data bytes follow the header");
    } else {
        Require(bytes.size() == size, "refused: length unchanged");
        Require(
            std::equal(bytes.begin(), bytes.begin() + static_cast<long>(whole), deciphered.begin()),
            "refused: whole blocks deciphered");
        Require(std::equal(bytes.begin() + static_cast<long>(whole), bytes.end(),
                           input.begin() + static_cast<long>(whole)),
                "refused: trailing partial block unchanged");
    }
    return 0;
}
