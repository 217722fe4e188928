#pragma once

#include <string_view>

namespace core {

// File-name patterns in the style of a directory search: "*" stands for any
// run of characters (none included), "?" for exactly one. "*.*" matches every
// name, also one without a dot. Letter case counts, as it does on the file
// system.

bool HasWildcard(std::u16string_view text);

bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern);

}  // namespace core
