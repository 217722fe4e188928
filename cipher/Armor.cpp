#include "cipher/Armor.h"

#include <algorithm>

namespace cipher {

namespace {

bool IsArmorCharacter(std::uint8_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/' || c == '=' || c == '\r' || c == '\n';
}

}  // namespace

bool LooksLikeBase64(const std::uint8_t* data, std::size_t size) {
    const std::size_t probe = std::min(size, kArmorProbe);
    return probe > 0 && std::all_of(data, data + probe, IsArmorCharacter);
}

}  // namespace cipher
