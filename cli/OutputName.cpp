#include "cli/OutputName.h"

#include "core/DestinationName.h"
#include "core/Messages.h"
#include "core/Utf8.h"

namespace cli {

std::optional<std::string> DefaultOutputFor(const std::string& input, bool encrypt) {
    if (input == "-") return input;
    const std::optional<std::u16string> name = core::DecodeUtf8(input);
    if (!name) return std::nullopt;
    std::optional<std::u16string> derived = core::DestinationFor(*name);
    if (!derived) return std::nullopt;
    // The window's rule turns "x.enc" into "x" and anything else into
    // "x.enc"; each direction here takes only the half that fits it.
    const bool dropsSuffix = derived->size() < name->size();
    if (encrypt && dropsSuffix) return input + ".enc";
    if (!encrypt && !dropsSuffix) return std::nullopt;
    return core::EncodeUtf8(*derived);
}

}  // namespace cli
