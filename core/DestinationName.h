#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The destination that goes with a source path: "x.enc" becomes "x" (the
// suffix in any letter case), anything else gets ".enc" appended. Nothing for
// an empty source.
std::optional<std::u16string> DestinationFor(std::u16string_view source);

}  // namespace core
