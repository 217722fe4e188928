#include "core/DestinationName.h"

#include "core/CommandLine.h"

namespace core {

namespace {
constexpr std::u16string_view kSuffix = u".enc";
}  // namespace

std::optional<std::u16string> DestinationFor(std::u16string_view source) {
    if (source.empty()) return std::nullopt;
    if (source.size() >= kSuffix.size() &&
        commandline::ToLowerAscii(source.substr(source.size() - kSuffix.size())) == kSuffix) {
        return std::u16string(source.substr(0, source.size() - kSuffix.size()));
    }
    return std::u16string(source) + std::u16string(kSuffix);
}

}  // namespace core
